#pragma once
// The header of an MP4 atom: a 32-bit big-endian size (1: a 64-bit size follows the type) and a
// 4-character type. The size counts the header.

#include <cstdint>

class AFile;

struct Mp4Atom {
    static constexpr uint32_t kHeaderLength = 8;
    static constexpr uint32_t kLargeHeaderLength = 16;

    uint64_t position = 0;
    uint64_t size = 0;
    uint32_t headerLength = kHeaderLength;
    char type[4] = {};

    // 0 with `valid` set when a sound header stands at `position`; `valid` clear (a walk ends there)
    // when fewer bytes than a header remain or the size is 0 or smaller than the header.
    static int ReadAt(AFile& stream, uint64_t position, uint64_t fileLength, Mp4Atom& atom, bool& valid);

    bool Is(const char* atomType) const;
    uint64_t BodyPosition() const { return position + headerLength; }
    uint64_t BodySize() const { return size - headerLength; }
    uint64_t End() const { return position + size; }
};
