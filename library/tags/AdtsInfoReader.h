#pragma once
// Works out the duration and bit rate of a raw AAC file from its ADTS frames: no header says either, so
// every frame is counted, from the first one after the tag to the last whole one. Reads the frame
// headers only.

#include "library/tags/AdtsFrameHeader.h"

#include <cstdint>

class AFile;
struct SongFields;

class AdtsInfoReader {
public:
    // From the stream's position: 0 with the duration, the bit rate and the audio's end; -15110 when no
    // frame starts near the position.
    static int ReadAdtsInfo(SongFields& tags, AFile& stream, uint64_t fileLength);

private:
    struct Walk {
        uint64_t bytes = 0;
        double seconds = 0.0;
        uint64_t end = 0; // after the last whole frame
    };

    AdtsInfoReader(AFile& stream, uint64_t fileLength) : m_stream(stream), m_fileLength(fileLength) {}

    // 0 with the offset of the first frame whose next frame follows it (or the file ends there).
    int FindFirstFrame(uint64_t from, uint64_t& first);
    // 0 with the frames that follow one another from `first` on.
    int WalkFrames(uint64_t first, Walk& walk);
    // 0 with `found` set when a frame header stands at the offset.
    int HeaderAt(uint64_t offset, uint8_t (&header)[AdtsFrameHeader::kLength], bool& found);

    AFile& m_stream;
    uint64_t m_fileLength;
};
