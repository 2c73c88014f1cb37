#include "library/ipod/ITunesDBChunkFrame.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"

#include <cstring>
#include <new>

namespace {

int Resize(std::vector<uint8_t>& bytes, uint64_t length, int noMemoryCode) {
    try {
        bytes.resize(length);
    } catch (const std::bad_alloc&) {
        return noMemoryCode;
    }
    return 0;
}

} // namespace

void ITunesDBChunkFrame::Create(const char* tag, uint32_t headerLength, bool hasTotalLength) {
    m_header.assign(headerLength, 0);
    std::memcpy(m_header.data(), tag, 4);
    StoreLE32(m_header.data() + kHeaderLengthOffset, headerLength);
    m_tail.clear();
    m_end = 0;
    m_hasTotalLength = hasTotalLength;
}

int ITunesDBChunkFrame::ReadHeader(AFile& stream, uint64_t parentEnd, const char* tag, uint32_t knownLength,
                                   bool hasTotalLength, const ITunesDBChunkCodes& codes) {
    m_header.clear();
    m_tail.clear();
    m_hasTotalLength = hasTotalLength;
    const uint64_t start = stream.GetPosition();
    if (start >= parentEnd || parentEnd - start < kPrefixLength)
        return codes.wrongTag;
    const uint64_t room = parentEnd - start;
    uint8_t prefix[kPrefixLength];
    if (const int result = stream.Read(prefix, kPrefixLength))
        return result;
    if (std::memcmp(prefix, tag, 4) != 0)
        return codes.wrongTag;
    const uint32_t headerLength = LoadLE32(prefix + kHeaderLengthOffset);
    if (headerLength < knownLength || headerLength < kPrefixLength || headerLength > room)
        return codes.badLength;
    m_end = parentEnd;
    if (hasTotalLength) {
        const uint32_t totalLength = LoadLE32(prefix + kTotalLengthOffset);
        if (totalLength < headerLength || totalLength > room)
            return codes.badLength;
        m_end = start + totalLength;
    }
    if (const int result = Resize(m_header, headerLength, codes.noMemory))
        return result;
    std::memcpy(m_header.data(), prefix, kPrefixLength);
    if (headerLength == kPrefixLength)
        return 0;
    return stream.Read(m_header.data() + kPrefixLength, headerLength - kPrefixLength);
}

int ITunesDBChunkFrame::ReadTail(AFile& stream, int noMemoryCode) {
    const uint64_t position = stream.GetPosition();
    if (position >= m_end)
        return 0;
    return recordio::ReadBytes(stream, m_end - position, m_tail, noMemoryCode);
}

int ITunesDBChunkFrame::SkipToEnd(AFile& stream) const {
    return stream.Seek(m_end);
}

int ITunesDBChunkFrame::WriteHeader(AFile& stream, uint64_t totalLength) {
    if (m_hasTotalLength) {
        if (totalLength > UINT32_MAX)
            return kErrorWrite;
        Set32(kTotalLengthOffset, static_cast<uint32_t>(totalLength));
    }
    return stream.Write(m_header.data(), GetHeaderLength());
}

int ITunesDBChunkFrame::WriteTail(AFile& stream) const {
    return m_tail.empty() ? 0 : stream.Write(m_tail.data(), GetTailLength());
}

uint32_t ITunesDBChunkFrame::Get32(uint32_t offset) const {
    return offset + 4 <= m_header.size() ? LoadLE32(m_header.data() + offset) : 0;
}

void ITunesDBChunkFrame::Set32(uint32_t offset, uint32_t value) {
    if (offset + 4 <= m_header.size())
        StoreLE32(m_header.data() + offset, value);
}

int ITunesDBChunkFrame::ExtendHeaderTo(uint32_t length, int noMemoryCode) {
    if (m_header.size() >= length)
        return 0;
    if (const int result = Resize(m_header, length, noMemoryCode))
        return result;
    Set32(kHeaderLengthOffset, length);
    return 0;
}
