#pragma once
// What every chunk of the iPod database has around its children: the header as it stands in the file
// (tag, header length, total length or count, the known fields and every header byte behind them) and
// the bytes between its last child and its end. Both are kept so that they are written back unchanged.

#include <cstdint>
#include <vector>

class AFile;

// The codes a chunk answers for its own read errors (they differ between the reading modes).
struct ITunesDBChunkCodes {
    int wrongTag;
    int badLength;
    int noMemory;
};

class ITunesDBChunkFrame {
public:
    static constexpr uint32_t kHeaderLengthOffset = 4;
    static constexpr uint32_t kTotalLengthOffset = 8;
    static constexpr uint32_t kPrefixLength = 12;

    // A new header of `headerLength` bytes: the tag, the length and zeros.
    void Create(const char* tag, uint32_t headerLength, bool hasTotalLength);

    // Reads the header at the stream position. Every length is checked before it is used: the known
    // fields <= header length <= total length <= bytes left before `parentEnd`.
    int ReadHeader(AFile& stream, uint64_t parentEnd, const char* tag, uint32_t knownLength,
                   bool hasTotalLength, const ITunesDBChunkCodes& codes);
    // Keeps whatever lies between the stream position and the chunk's end.
    int ReadTail(AFile& stream, int noMemoryCode);
    // Continues behind the chunk without reading the rest of it.
    int SkipToEnd(AFile& stream) const;

    // Sets the total length (when the chunk has one) and writes the header; the tail is written after
    // the children. A total beyond the 32 bits of its field is a write error.
    int WriteHeader(AFile& stream, uint64_t totalLength);
    int WriteTail(AFile& stream) const;

    uint32_t GetHeaderLength() const { return static_cast<uint32_t>(m_header.size()); }
    uint32_t GetTailLength() const { return static_cast<uint32_t>(m_tail.size()); }
    // Header plus tail: what the chunk adds to the lengths of its children.
    uint32_t GetOwnLength() const { return GetHeaderLength() + GetTailLength(); }
    // Where the chunk ends in the stream it was read from: its total length, or its parent's end.
    uint64_t GetEnd() const { return m_end; }

    uint32_t Get32(uint32_t offset) const;
    void Set32(uint32_t offset, uint32_t value);
    const std::vector<uint8_t>& GetHeaderBytes() const { return m_header; }
    // Grows a header that is shorter than the standard one, with zeros, and sets its length field.
    int ExtendHeaderTo(uint32_t length, int noMemoryCode);

private:
    std::vector<uint8_t> m_header;
    std::vector<uint8_t> m_tail;
    uint64_t m_end = 0;
    bool m_hasTotalLength = true;
};
