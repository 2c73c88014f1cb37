#include "library/tags/AiffReader.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "library/tags/ID3v2Reader.h"

#include <cstring>

namespace {

constexpr uint32_t kChunkHeaderLength = 8;
constexpr uint64_t kFirstChunk = 12; // after "FORM", its size and the form type
constexpr uint64_t kMinimumFileLength = 13;

} // namespace

int AiffReader::ReadAIFF(SongFields& tags, AFile& stream, uint64_t fileLength) {
    uint8_t header[kChunkHeaderLength];
    if (const int result = stream.Seek(0))
        return result;
    if (const int result = stream.Read(header, sizeof header))
        return result;
    if (std::memcmp(header, "FORM", 4) != 0 || fileLength < kMinimumFileLength)
        return 0;
    uint64_t position = kFirstChunk;
    while (position + kChunkHeaderLength <= fileLength) {
        if (const int result = stream.Seek(position))
            return result;
        if (const int result = stream.Read(header, sizeof header))
            return result;
        if (std::memcmp(header, "ID3 ", 4) == 0)
            return ID3v2Reader::ReadID3v2(tags, stream, fileLength);
        const uint32_t size = LoadBE32(header + 4);
        if (size == 0)
            return 0;
        position = NextChunkPosition(stream, position, size, fileLength);
    }
    return 0;
}

// Chunks are padded to an even length, but some writers leave the pad byte out: an odd-sized chunk is
// followed at the padded position only when a chunk id stands there.
uint64_t AiffReader::NextChunkPosition(AFile& stream, uint64_t position, uint64_t size, uint64_t fileLength) {
    const uint64_t unpadded = position + kChunkHeaderLength + size;
    if (size % 2 == 0 || IsPlausibleChunkId(stream, unpadded + 1, fileLength) ||
        !IsPlausibleChunkId(stream, unpadded, fileLength))
        return unpadded + size % 2;
    return unpadded;
}

bool AiffReader::IsPlausibleChunkId(AFile& stream, uint64_t position, uint64_t fileLength) {
    uint8_t id[4];
    if (position + sizeof id > fileLength || stream.Seek(position) != 0 || stream.Read(id, sizeof id) != 0)
        return false;
    for (const uint8_t c : id) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}
