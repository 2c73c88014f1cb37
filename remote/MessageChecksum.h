#pragma once
// The checksum of a raw payload as both ends of the link compute it: never 0, so that 0 in a header
// can mean "not given".

#include <cstdint>
#include <span>

uint16_t MessageChecksum(std::span<const uint8_t> data);
