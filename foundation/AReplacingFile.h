#pragma once
// Writes a new version of a file beside it under a temporary name; Commit syncs it, checks its length
// and renames it over the target. Until Commit the old file stays as it was, and a replacement that
// is never committed is removed. The new version keeps the old one's mode, and its owner and group
// where the writer may set them; through a symbolic link the file it ends at is replaced.

#include "foundation/AFile.h"
#include "platform/files/ReplacementFile.h"

class AReplacingFile : public AFile {
public:
    AReplacingFile() = default;
    ~AReplacingFile() override;

    // Refuses a read-only target unless `force` (the new file is read-only as well).
    int Begin(const AString& target, bool force);
    int Write(const void* buffer, uint32_t length) override;
    using AFile::Write;
    // A failed sync of the folder after the rename is reported too, though the target was replaced.
    int Commit();
    void Abandon();

private:
    nativefiles::ReplacementFile m_replacement;
    uint64_t m_extent = 0;
};
