#pragma once
// The ID3v2 unsynchronisation scheme: a zero byte is put after every 0xFF that is followed by a byte
// of 0xE0 or more or by zero (and after a final 0xFF), so that tag bytes never look like an MPEG
// frame sync.

#include <cstdint>
#include <vector>

namespace unsynchronisation {

std::vector<uint8_t> Decode(const uint8_t* raw, uint64_t length);
std::vector<uint8_t> Encode(const uint8_t* data, uint64_t length);
// Finds where bytes of Decode's result lie in the raw bytes. It walks forward only, so that mapping
// every offset of a tag costs one pass over it: offsets asked for must not decrease.
class RawOffsets {
public:
    RawOffsets(const uint8_t* raw, uint64_t length) : m_raw(raw), m_length(length) {}

    // The raw length for an offset past the end.
    uint64_t Of(uint64_t decodedOffset);

private:
    const uint8_t* m_raw;
    uint64_t m_length;
    uint64_t m_rawOffset = 0;
    uint64_t m_decodedOffset = 0;
};

} // namespace unsynchronisation
