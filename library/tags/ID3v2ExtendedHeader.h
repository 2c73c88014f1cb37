#pragma once
// The extended header that may open an ID3v2.3 or ID3v2.4 tag body: where the frames begin, and the
// fields that describe the frames after it (ID3v2.3's padding size; the CRC of the frames in both
// versions), which must be written anew whenever the frames change.

#include "library/tags/ID3v2Header.h"

#include <cstdint>
#include <span>
#include <vector>

class ID3v2ExtendedHeader {
public:
    // The extended header at the start of `body`, the tag body with any whole-tag unsynchronisation
    // undone; empty when the tag has none.
    ID3v2ExtendedHeader(const ID3v2Header& header, std::span<const uint8_t> body);

    // Where the frames begin. It may lie past the end of a broken body.
    uint64_t Length() const { return m_length; }
    bool HasCrc() const { return m_crcAt != 0; }
    // The header's bytes in front of frames that end the body without padding: the padding size 0,
    // the CRC (when the header carries one) `framesCrc`; every other byte stays.
    std::vector<uint8_t> Rewritten(uint32_t framesCrc) const;

private:
    void FindV23Fields();
    void FindV24Fields();

    int m_version = 0;
    std::span<const uint8_t> m_bytes; // the part of the body the header covers
    uint64_t m_length = 0;
    uint64_t m_paddingSizeAt = 0; // 0: no such field
    uint64_t m_crcAt = 0;
};
