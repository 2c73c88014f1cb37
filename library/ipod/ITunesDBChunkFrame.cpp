#include "library/ipod/ITunesDBChunkFrame.h"

#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDBInput.h"

#include <array>
#include <cstring>

namespace {

constexpr size_t kMaxHeaderFields = 4;

} // namespace

void ITunesDBChunkFrame::Create(const char* tag, uint32_t headerLength, bool hasTotalLength) {
    m_header = ITunesDBBytes::Zeros(headerLength);
    std::span<uint8_t> header = m_header.Mutable();
    if (header.size() >= kPrefixLength) {
        std::memcpy(header.data(), tag, 4);
        StoreLE32(header.data() + kHeaderLengthOffset, headerLength);
    }
    m_tail = ITunesDBBytes();
    m_end = 0;
    m_hasTotalLength = hasTotalLength;
}

int ITunesDBChunkFrame::CheckChunk(ITunesDBInput& input, uint64_t parentEnd, const char* tag,
                                   uint32_t knownLength, bool hasTotalLength, const ITunesDBChunkCodes& codes,
                                   ITunesDBChunkExtent& extent) {
    const uint64_t start = input.GetPosition();
    if (start >= parentEnd || parentEnd - start < kPrefixLength)
        return codes.wrongTag;
    const uint64_t room = parentEnd - start;
    uint8_t scratch[kPrefixLength];
    const uint8_t* prefix = nullptr;
    if (const int result = input.Peek(kPrefixLength, scratch, prefix))
        return result;
    if (std::memcmp(prefix, tag, 4) != 0)
        return codes.wrongTag;
    const uint32_t headerLength = LoadLE32(prefix + kHeaderLengthOffset);
    if (headerLength < knownLength || headerLength < kPrefixLength || headerLength > room)
        return codes.badLength;
    extent = {start, headerLength, parentEnd};
    if (!hasTotalLength)
        return 0;
    const uint32_t totalLength = LoadLE32(prefix + kTotalLengthOffset);
    if (totalLength < headerLength || totalLength > room)
        return codes.badLength;
    extent.end = start + totalLength;
    return 0;
}

int ITunesDBChunkFrame::ReadHeader(ITunesDBInput& input, uint64_t parentEnd, const char* tag,
                                   uint32_t knownLength, bool hasTotalLength,
                                   const ITunesDBChunkCodes& codes) {
    m_header = ITunesDBBytes();
    m_tail = ITunesDBBytes();
    m_hasTotalLength = hasTotalLength;
    ITunesDBChunkExtent extent;
    if (const int result = CheckChunk(input, parentEnd, tag, knownLength, hasTotalLength, codes, extent))
        return result;
    m_end = extent.end;
    return input.Take(extent.headerLength, m_header, codes.noMemory);
}

int ITunesDBChunkFrame::ReadTail(ITunesDBInput& input, int noMemoryCode) {
    const uint64_t position = input.GetPosition();
    if (position >= m_end)
        return 0;
    if (m_end - position > UINT32_MAX)
        return noMemoryCode;
    return input.Take(static_cast<uint32_t>(m_end - position), m_tail, noMemoryCode);
}

int ITunesDBChunkFrame::SkipToEnd(ITunesDBInput& input) const {
    return input.Seek(m_end);
}

int ITunesDBChunkFrame::WriteHeader(AFile& stream, uint64_t totalLength,
                                    std::initializer_list<ITunesDBBytes::Patch> fields) const {
    std::array<ITunesDBBytes::Patch, kMaxHeaderFields + 1> patches{};
    size_t count = 0;
    if (m_hasTotalLength) {
        if (totalLength > UINT32_MAX)
            return kErrorWrite;
        patches[count++] = {kTotalLengthOffset, static_cast<uint32_t>(totalLength)};
    }
    for (const ITunesDBBytes::Patch& field : fields) {
        if (count < patches.size())
            patches[count++] = field;
    }
    return m_header.Write(stream, std::span(patches.data(), count));
}

int ITunesDBChunkFrame::WriteTail(AFile& stream) const {
    return m_tail.Write(stream);
}

int ITunesDBChunkFrame::ExtendHeaderTo(uint32_t length, int noMemoryCode) {
    if (m_header.size() >= length)
        return 0;
    if (!m_header.Extend(length) || !m_header.Set32(kHeaderLengthOffset, length))
        return noMemoryCode;
    return 0;
}
