#include "remote/MessageChecksum.h"

uint16_t MessageChecksum(std::span<const uint8_t> data) {
    // Little-endian 16-bit words into a 32-bit accumulator that wraps; a last odd byte is left out.
    uint32_t sum = 0;
    const size_t words = data.size() / 2;
    for (size_t i = 0; i < words; ++i)
        sum += uint32_t(data[2 * i]) | (uint32_t(data[2 * i + 1]) << 8);
    // The folds shift the accumulator as a signed value, sign bits coming in from the left.
    int32_t folded = (static_cast<int32_t>(sum) >> 16) + static_cast<int32_t>(sum & 0xFFFF);
    folded += folded >> 16;
    const auto checksum = static_cast<uint16_t>(~folded);
    return checksum == 0 ? 1 : checksum;
}
