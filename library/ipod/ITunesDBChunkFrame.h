#pragma once
// What every chunk of the iPod database has around its children: the header as it stands in the file
// (tag, header length, total length or count, the known fields and every header byte behind them) and
// the bytes between its last child and its end. Both are kept so that they are written back unchanged;
// the fields computed from the tree (lengths, counts, ids) are put over them on writing.

#include "library/ipod/ITunesDBBytes.h"

#include <cstdint>
#include <initializer_list>
#include <span>

class AFile;
class ITunesDBInput;

// The codes a chunk answers for its own read errors (they differ between the reading modes).
struct ITunesDBChunkCodes {
    int wrongTag;
    int badLength;
    int noMemory;
};

// Where a checked chunk lies in its input.
struct ITunesDBChunkExtent {
    uint64_t start = 0;
    uint32_t headerLength = 0;
    uint64_t end = 0;
};

class ITunesDBChunkFrame {
public:
    static constexpr uint32_t kHeaderLengthOffset = 4;
    static constexpr uint32_t kTotalLengthOffset = 8;
    static constexpr uint32_t kPrefixLength = 12;

    // A new header of `headerLength` bytes: the tag, the length and zeros.
    void Create(const char* tag, uint32_t headerLength, bool hasTotalLength);

    // Checks the chunk at the input position without moving it. Every length is checked before it is
    // used: the known fields <= header length <= total length <= bytes left before `parentEnd`.
    static int CheckChunk(ITunesDBInput& input, uint64_t parentEnd, const char* tag, uint32_t knownLength,
                          bool hasTotalLength, const ITunesDBChunkCodes& codes, ITunesDBChunkExtent& extent);
    // Checks the chunk at the input position and reads its header.
    int ReadHeader(ITunesDBInput& input, uint64_t parentEnd, const char* tag, uint32_t knownLength,
                   bool hasTotalLength, const ITunesDBChunkCodes& codes);
    // Keeps whatever lies between the input position and the chunk's end.
    int ReadTail(ITunesDBInput& input, int noMemoryCode);
    // Continues behind the chunk without reading the rest of it.
    int SkipToEnd(ITunesDBInput& input) const;

    // Writes the header with the total length (when the chunk has one) and the given fields put over
    // it (at most four, in ascending order of offset, behind the total); the tail is written after the
    // children. A total beyond the 32 bits of its field is a write error.
    int WriteHeader(AFile& stream, uint64_t totalLength,
                    std::initializer_list<ITunesDBBytes::Patch> fields = {}) const;
    int WriteTail(AFile& stream) const;

    uint32_t GetHeaderLength() const { return m_header.size(); }
    uint32_t GetTailLength() const { return m_tail.size(); }
    // Header plus tail: what the chunk adds to the lengths of its children.
    uint32_t GetOwnLength() const { return GetHeaderLength() + GetTailLength(); }
    // Where the chunk ends in the input it was read from: its total length, or its parent's end.
    uint64_t GetEnd() const { return m_end; }

    uint32_t Get32(uint32_t offset) const { return m_header.Get32(offset); }
    // Only chunks this system makes are changed; false without memory.
    bool Set32(uint32_t offset, uint32_t value) { return m_header.Set32(offset, value); }
    std::span<const uint8_t> GetHeaderBytes() const { return m_header.Get(); }
    // Grows a header that is shorter than the standard one, with zeros, and sets its length field.
    int ExtendHeaderTo(uint32_t length, int noMemoryCode);

private:
    ITunesDBBytes m_header;
    ITunesDBBytes m_tail;
    uint64_t m_end = 0;
    bool m_hasTotalLength = true;
};
