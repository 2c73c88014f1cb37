#pragma once
// Packing of the link's payloads: the nibble coder, then LZW. The wire always uses method 4 (both
// stages), and only when it makes the payload smaller.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace payloadpacking {

enum Method { kMethodLzw = 2, kMethodNibble = 3, kMethodNibbleLzw = 4 };

// Bigger than any unpacked payload the link accepts.
constexpr uint32_t kMaxUnpackedLength = 1000000000 - 1;

// The packed form by `method` into `destination`: its length, or -1 (kErrorEndOfStream) for another
// method number.
int CompressBuffer(int method, std::span<const uint8_t> source, std::vector<uint8_t>& destination);
// Exactly `unpackedLength` bytes, or nothing when the data are damaged, of another length, or of
// another method.
std::optional<std::vector<uint8_t>> DecompressBuffer(int method, std::span<const uint8_t> source,
                                                     uint32_t unpackedLength);

// Method 4: u32 nibble size, then the LZW stream of the nibble block; the size 0xFFFFFFFF says the
// nibble stage did not pay and the stream holds the bytes themselves.
std::vector<uint8_t> PackNibbleLzw(std::span<const uint8_t> source);
std::optional<std::vector<uint8_t>> UnpackNibbleLzw(std::span<const uint8_t> source, uint32_t unpackedLength);

// The packed payload of a message (u32 unpacked length, then method 4), or nothing when it would not
// be smaller than the payload.
std::optional<std::vector<uint8_t>> PackMessage(std::span<const uint8_t> payload);
// The payload of a packed message; an unpacked length of 0 or below (as a signed number) gives an
// empty payload. Nothing when the message is damaged or claims more than kMaxUnpackedLength.
std::optional<std::vector<uint8_t>> UnpackMessage(std::span<const uint8_t> packed);

} // namespace payloadpacking
