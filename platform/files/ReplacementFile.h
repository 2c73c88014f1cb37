#pragma once
// The next version of a file, written beside it under a hidden temporary name and put in its place
// only when it is whole and on the disk; a version that is never put in place is removed. Every
// writer that replaces a file goes through it, so each first clears away the temporary files that
// killed writers left in the folder (as large as their files, they would fill a small volume).
// Through a symbolic link the file it ends at is replaced, and the link stays.

#include "platform/files/FileDescriptor.h"

#include <cstdint>
#include <string>

namespace nativefiles {

class ReplacementFile {
public:
    ReplacementFile() = default;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile() { Drop(); }

    // Removes the stale temporary files of the target's folder and makes a new empty one beside the
    // target, with the owner, group and mode of an existing target (the owner where the writer may
    // set it); false when none can be made.
    bool Begin(const std::string& target);
    // The descriptor to write through. The caller may take it, or close it to see what the close
    // says: the file stays claimed as in use until it is put in place or dropped.
    FileDescriptor& File() { return m_file; }
    const std::string& TemporaryPath() const { return m_temporary; }
    // Syncs the new file, checks that it holds `length` bytes, renames it over the target and syncs
    // the folder; false when a step fails. Only a failed sync of the folder leaves the target replaced
    // (IsPlaced). Without `sync` both syncs are left to a later flush of the whole volume.
    bool PutInPlace(uint64_t length, bool sync = true);
    bool IsPlaced() const { return m_placed; }
    // Removes the new file unless it was put in place.
    void Drop();

private:
    std::string m_target;
    std::string m_temporary;
    FileDescriptor m_file;
    FileDescriptor m_claim; // holds the lock that marks the file as in use
    bool m_placed = false;
};

} // namespace nativefiles
