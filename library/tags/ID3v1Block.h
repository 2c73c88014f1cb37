#pragma once
// The 128-byte ID3v1 block at the end of an mp3 file: "TAG", title, artist, album (30 bytes each),
// year (4), comment (30) and a genre byte; a zero in the comment's 29th byte makes the 30th a track
// number (ID3v1.1).

#include <cstdint>

class AFile;
struct SongFields;

class ID3v1Block {
public:
    static constexpr uint32_t kLength = 128;

    // Fills the fields from the block when the file ends in one; 0 also when there is none. A file that
    // is nothing but the block holds no audio: its audio's end stays unknown (0).
    static int ReadID3v1(SongFields& tags, AFile& stream, uint64_t fileLength);
    // After the ID3v2 tag was read: a block counts only where it starts at or after the tag's end, as
    // "TAG" inside a frame of a file with little audio is no block; the audio then ends with the file.
    static void KeepOnlyAfterTag(SongFields& tags, uint64_t fileLength);
};
