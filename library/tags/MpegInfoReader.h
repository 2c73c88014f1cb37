#pragma once
// Finds the first usable MPEG audio frame after the tag and works out the bit rate and duration from
// it, preferring the average of a "Xing" or "VBRI" header in that frame (variable bit rate files).
// Reads the frame headers only, never the audio itself.

#include <cstdint>
#include <vector>

class AFile;
struct SongFields;
class MpegFrameHeader;

class MpegInfoReader {
public:
    // From the stream's position; 0 when a frame was accepted, -15110 when none was up to the end.
    static int ReadMpegInfo(SongFields& tags, AFile& stream, uint64_t fileLength);

private:
    struct Estimate {
        uint32_t bitRate = 0; // kbit/s
        uint32_t duration = 0;
    };

    MpegInfoReader(AFile& stream, uint64_t fileLength, bool hasID3v1)
        : m_stream(stream), m_fileLength(fileLength), m_hasID3v1(hasID3v1) {}

    int SkipZeros(uint64_t& position);
    // 0 with the header bytes and their file offset; -15110 when no header lies at or after `from`.
    int FindMpegFrameSync(uint64_t from, uint8_t* header, uint64_t& offset);
    // 0 with the estimate (left zero when the frame is not usable), or a stream code.
    int Evaluate(uint64_t offset, const uint8_t* bytes, Estimate& estimate);
    int CrcMatches(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes, bool& matches);
    int AverageRate(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes, uint64_t& rate);
    int XingRate(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes, uint64_t& rate);
    int VbriRate(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes, uint64_t& rate);
    // 0 with `bytes` pointing at `length` bytes of the file from `offset` (null when the file is
    // shorter), or a stream code.
    int BytesAt(uint64_t offset, uint32_t length, const uint8_t*& bytes);
    // 0 with the bytes from `offset` that a window read ahead holds: at least `minimum` of them, or
    // none (`available` 0) at the end of the file. Stepping from one rejected header to the next
    // thus costs no further reads.
    int Look(uint64_t offset, uint32_t minimum, const uint8_t*& bytes, uint32_t& available);

    AFile& m_stream;
    uint64_t m_fileLength;
    bool m_hasID3v1;
    std::vector<uint8_t> m_window;
    uint64_t m_windowStart = 0;
};
