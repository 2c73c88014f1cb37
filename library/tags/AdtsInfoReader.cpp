#include "library/tags/AdtsInfoReader.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/AdtsFrameHeader.h"
#include "library/tags/SongFields.h"

#include <algorithm>

namespace {

// How far after the tag the first frame is looked for.
constexpr uint64_t kSearchLength = 64 * 1024;
constexpr uint32_t kBitsPerByte = 8;
constexpr uint32_t kBitsPerKilobit = 1000;

} // namespace

int AdtsInfoReader::ReadAdtsInfo(SongFields& tags, AFile& stream, uint64_t fileLength) {
    AdtsInfoReader reader(stream, fileLength);
    uint64_t first = 0;
    if (const int result = reader.FindFirstFrame(stream.GetPosition(), first))
        return result;
    Walk walk;
    if (const int result = reader.WalkFrames(first, walk))
        return result;
    tags.audioEnd = walk.end - 1;
    tags.duration = static_cast<uint32_t>(std::min<double>(walk.seconds, UINT32_MAX));
    if (walk.seconds > 0.0)
        tags.bitRate = static_cast<uint32_t>(
            std::min<double>(double(walk.bytes) * kBitsPerByte / walk.seconds / kBitsPerKilobit, UINT32_MAX));
    return 0;
}

int AdtsInfoReader::HeaderAt(uint64_t offset, uint8_t (&header)[AdtsFrameHeader::kLength], bool& found) {
    found = false;
    if (offset > m_fileLength || m_fileLength - offset < AdtsFrameHeader::kLength)
        return 0;
    if (const int result = m_stream.Seek(offset))
        return result;
    if (const int result = m_stream.Read(header, AdtsFrameHeader::kLength))
        return result;
    found = AdtsFrameHeader::IsFrameHeader(header);
    return 0;
}

// A sync word inside other bytes is taken for a frame only when a frame or the file's end follows it.
int AdtsInfoReader::FindFirstFrame(uint64_t from, uint64_t& first) {
    const uint64_t last = std::min(m_fileLength, from + kSearchLength);
    for (uint64_t offset = from; offset < last; ++offset) {
        uint8_t header[AdtsFrameHeader::kLength];
        bool found = false;
        if (const int result = HeaderAt(offset, header, found))
            return result;
        if (!found)
            continue;
        const uint64_t next = offset + AdtsFrameHeader(header).FrameLength();
        bool followed = next == m_fileLength;
        if (!followed) {
            if (const int result = HeaderAt(next, header, followed))
                return result;
        }
        if (followed) {
            first = offset;
            return 0;
        }
    }
    return kErrorNoMpegFrame;
}

// The walk ends at the first bytes that are no frame (an ID3v1 or APE tag, damage) or at a frame that
// the file cuts short.
int AdtsInfoReader::WalkFrames(uint64_t first, Walk& walk) {
    walk.end = first;
    for (uint64_t offset = first;;) {
        uint8_t bytes[AdtsFrameHeader::kLength];
        bool found = false;
        if (const int result = HeaderAt(offset, bytes, found))
            return result;
        if (!found)
            return 0;
        const AdtsFrameHeader header(bytes);
        if (header.FrameLength() > m_fileLength - offset)
            return 0;
        walk.bytes += header.FrameLength();
        walk.seconds += double(header.SampleCount()) / header.SampleRate();
        offset += header.FrameLength();
        walk.end = offset;
    }
}
