#pragma once
// The second stage of payload packing: LZW with fixed 12-bit codes, most significant bit first. Codes
// 0 to 255 are the bytes, 256 clears the dictionary, 257 ends the stream, 258 to 4095 name strings.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class LzwCoder {
public:
    static constexpr uint16_t kClearCode = 256;
    static constexpr uint16_t kEndCode = 257;
    static constexpr uint16_t kFirstStringCode = 258;
    static constexpr uint16_t kLastCode = 4095;

    // The stream begins with a clear code and ends with the end code; a last partial byte is padded
    // with 0 bits.
    static std::vector<uint8_t> LzwEncode(std::span<const uint8_t> source);
    // Exactly `unpackedLength` bytes, or nothing when the stream is damaged: a code beyond the
    // dictionary, output past the length, a dictionary overflow, no end code, or another total.
    static std::optional<std::vector<uint8_t>> LzwDecode(std::span<const uint8_t> source,
                                                         uint32_t unpackedLength);
};
