#pragma once
// "iTunesSD", the flat song table the iPod Shuffle plays from: an 18-byte header and one 558-byte entry
// per song. Its numbers are big-endian and 3 bytes wide.

#include "foundation/AString.h"

#include <cstdint>

class AFile;

class ITunesSD {
public:
    static constexpr uint32_t kHeaderLength = 18;
    static constexpr uint32_t kEntryLength = 558;
    static constexpr uint32_t kPathOffset = 33;
    static constexpr uint32_t kPathFieldLength = 522;
    // Characters of a path that fit the field; a longer path is cut so that the entry keeps its length.
    static constexpr int kMaxPathLength = kPathFieldLength / 2;

    enum FileType : uint8_t { kMp3 = 1, kAac = 2, kWav = 4 };

    static int WriteHeader(AFile& stream, uint32_t songCount);
    // `path` lies below the iPod's root in native form ("/iPod_Control/Music/F00/ABCD.mp3").
    static int WriteEntry(AFile& stream, const AString& path, const AString& extension);
    static FileType FileTypeOf(const AString& extension);
};
