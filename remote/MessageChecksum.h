#pragma once
// The checksum of a raw payload as both ends of the link compute it: never 0, so that 0 in a header
// can mean "not given".

#include <cstdint>
#include <span>

uint16_t MessageChecksum(std::span<const uint8_t> data);

// The same checksum over a payload that arrives in parts, each added as it comes; every part but the
// last must have an even length.
class ChecksumAccumulator {
public:
    void Add(std::span<const uint8_t> part);
    // Adds what another accumulator summed: the parts it took follow this one's, or come before them.
    void Merge(const ChecksumAccumulator& other) { m_sum += other.m_sum; }
    uint16_t Finish() const;

private:
    uint32_t m_sum = 0;
};
