#include "server/requests/RequestFields.h"

#include "foundation/AString.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"

RequestFields::RequestFields(std::span<const uint8_t> payload)
    : m_stream(payload.data(), static_cast<uint32_t>(payload.size())) {}

bool RequestFields::ReadU8(uint8_t& value) {
    return m_stream.Read(&value, 1) == 0;
}

bool RequestFields::ReadU32(uint32_t& value) {
    return recordio::ReadU32(m_stream, value) == 0;
}

bool RequestFields::ReadU64(uint64_t& value) {
    return recordio::ReadU64(m_stream, value) == 0;
}

int RequestFields::ReadText(AString& text) {
    const int result = text.Load(m_stream);
    if (result == 0 || result == kErrorVersion)
        return result;
    return kErrorEndOfStream;
}

bool RequestFields::ReadBytes(uint32_t length, std::span<const uint8_t>& bytes) {
    const uint8_t* start = nullptr;
    if (m_stream.ReadInPlace(&start, length) != 0)
        return false;
    bytes = std::span(start, length);
    return true;
}

std::vector<uint8_t> StreamBytes(const AMemFile& stream) {
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}
