#pragma once
// Little-endian fields of the saved records, written and read through any stream. Each function
// returns 0 or the stream's code.

#include <cstdint>
#include <vector>

class AFile;

namespace recordio {

int WriteU16(AFile& stream, uint16_t value);
int WriteU32(AFile& stream, uint32_t value);
int WriteU64(AFile& stream, uint64_t value);
int ReadU16(AFile& stream, uint16_t& value);
int ReadU32(AFile& stream, uint32_t& value);
int ReadU64(AFile& stream, uint64_t& value);

inline int WriteI32(AFile& stream, int32_t value) {
    return WriteU32(stream, static_cast<uint32_t>(value));
}
inline int ReadI32(AFile& stream, int32_t& value) {
    uint32_t raw = 0;
    const int result = ReadU32(stream, raw);
    value = static_cast<int32_t>(raw);
    return result;
}

// Reads the version word: the stream's code, -102389 for another word, or 0.
int ReadVersion(AFile& stream, uint32_t expected);

// 0 when `length` bytes remain in the stream, else the stream's short-read code: counts and lengths
// from a record are checked with it before anything is allocated.
int CheckRemaining(const AFile& stream, uint64_t length);
// Reads `length` bytes into `bytes`: `noMemoryCode` when there is no memory for them, else the read's
// result. A length read from the stream itself is checked with CheckRemaining first.
int ReadBytes(AFile& stream, uint64_t length, std::vector<uint8_t>& bytes, int noMemoryCode);

} // namespace recordio
