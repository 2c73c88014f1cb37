#pragma once
// What the system knows of one file: also the answer of the remote file-information request.

#include <cstdint>

class AFile;

struct FileInfo {
    static constexpr uint32_t kRecordSize = 32;

    uint32_t exists = 0;
    uint32_t isDirectory = 0;
    uint32_t notHidden = 0; // files only
    uint32_t reserved = 0;
    uint64_t size = 0;    // files only
    uint64_t modTime = 0; // files only; seconds since 1904 as the system counts them

    int Serialize(AFile& stream) const;
    int Load(AFile& stream);
};
