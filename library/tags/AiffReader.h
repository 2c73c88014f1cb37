#pragma once
// Finds the "ID3 " chunk of an AIFF file ("FORM" container of big-endian sized chunks, each padded to
// an even length) and reads the ID3v2 tag inside it.

#include <cstdint>

class AFile;
struct SongFields;

class AiffReader {
public:
    // 0 with only the file facts when the file is no AIFF or holds no "ID3 " chunk.
    static int ReadAIFF(SongFields& tags, AFile& stream, uint64_t fileLength);

private:
    static bool IsPlausibleChunkId(AFile& stream, uint64_t position, uint64_t fileLength);
    static uint64_t NextChunkPosition(AFile& stream, uint64_t position, uint64_t size, uint64_t fileLength);
};
