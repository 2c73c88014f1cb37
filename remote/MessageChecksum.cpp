#include "remote/MessageChecksum.h"

#include <bit>
#include <cstring>

void ChecksumAccumulator::Add(std::span<const uint8_t> part) {
    // Little-endian 16-bit words into a 32-bit accumulator that wraps; a last odd byte is left out.
    const size_t words = part.size() / 2;
    const uint8_t* bytes = part.data();
    uint32_t sum = m_sum;
    for (size_t i = 0; i < words; ++i) {
        uint16_t word;
        std::memcpy(&word, bytes + 2 * i, sizeof word);
        if constexpr (std::endian::native == std::endian::big)
            word = static_cast<uint16_t>((word >> 8) | (word << 8));
        sum += word;
    }
    m_sum = sum;
}

uint16_t ChecksumAccumulator::Finish() const {
    // The folds shift the accumulator as a signed value, sign bits coming in from the left.
    int32_t folded = (static_cast<int32_t>(m_sum) >> 16) + static_cast<int32_t>(m_sum & 0xFFFF);
    folded += folded >> 16;
    const auto checksum = static_cast<uint16_t>(~folded);
    return checksum == 0 ? 1 : checksum;
}

uint16_t MessageChecksum(std::span<const uint8_t> data) {
    ChecksumAccumulator sum;
    sum.Add(data);
    return sum.Finish();
}
