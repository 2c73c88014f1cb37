#pragma once
// Base64 as the link carries it: the standard alphabet, "=" padding, no line breaks, and nothing else.
// Unlike the foundation's lenient coder, the decoder refuses any character outside that form, and
// both run whole payloads at memory speed.

#include <cstddef>
#include <cstdint>
#include <span>

namespace wirebase64 {

constexpr size_t EncodedLength(size_t byteCount) {
    return (byteCount + 2) / 3 * 4;
}

// Writes EncodedLength(data.size()) characters.
void Encode(std::span<const uint8_t> data, uint8_t* out);
// Decodes into `out`, which has room for text.size() / 4 * 3 bytes: the number of bytes, or -1 when the
// length is not a multiple of 4, a character is outside the alphabet, or "=" stands anywhere but at
// the end of the last group.
long Decode(std::span<const uint8_t> text, uint8_t* out);

} // namespace wirebase64
