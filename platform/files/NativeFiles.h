#pragma once
// The operating system's file services as the foundation needs them. Paths are native UTF-8 texts.
// Read-only means "the owner's write bit is clear"; the kernel does not enforce it for root, so the
// callers check it themselves before they write or delete.

#include "platform/files/FileDescriptor.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace nativefiles {

struct PathStatus {
    bool exists = false;
    bool isDirectory = false;
    bool isRegularFile = false;
    bool isHidden = false;   // the name begins with "."
    bool isReadOnly = false; // the owner's write bit is clear
    uint64_t size = 0;
    int64_t modifiedUnix = 0; // seconds
    uint64_t device = 0;
    uint64_t inode = 0;
};

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    PathStatus status; // from ListDirectoryWithStatus only
};

PathStatus GetStatus(const std::string& path);
// The folder part of a path: "." without a '/', "/" for a file in the root.
std::string ParentOf(const std::string& path);
bool IsReadableFile(const std::string& path);
bool SameFile(const std::string& a, const std::string& b);

bool SetReadOnly(const std::string& path, bool readOnly);
bool MakeDirectory(const std::string& path);
bool RemoveFile(const std::string& path);

enum class MoveResult { Moved, TargetExists, CrossDevice, Failed };
// Never replaces an existing target.
MoveResult MoveNoReplace(const std::string& from, const std::string& to);
// Atomically puts `from` in the place of `to`.
bool RenameOver(const std::string& from, const std::string& to);

bool SetModifiedTime(const std::string& path, int64_t unixSeconds);
// Access and modification times and the permission bits of `from` go to `to`.
bool CopyTimesAndMode(const std::string& from, const std::string& to);

enum class CopyOutcome {
    Copied,
    Stopped,          // the caller asked to stop
    SourceOpenFailed, // missing, unreadable or not a regular file
    TargetOpenFailed, // the new file could not be made beside the target
    ReadFailed,
    SourceShort, // the source ended before its length
    WriteFailed,
    TimesFailed, // the copy could not be given the source's times
};

struct CopyControl {
    uint64_t chunkSize = UINT64_MAX;
    std::function<bool()> shouldStop;              // asked before each chunk
    std::function<void(uint64_t done)> onProgress; // told after each chunk
    bool sync = true; // false: the caller flushes the whole volume before it relies on the copy
};
// Copies `from` into a new file beside `to` and renames it over `to` only when the copy is whole and
// synced, with the source's times and mode: a failed or stopped copy leaves `to` as it was.
CopyOutcome CopyFileReplacing(const std::string& from, const std::string& to, const CopyControl& control);

bool GetFreeSpace(const std::string& path, uint64_t& bytes);

enum class Listing {
    Everything,
    // Leaves out the files that have the name of our temporary files: they are no one's content.
    WithoutTemporaries,
};
// Entries other than "." and "..", sorted by name so that every listing repeats.
bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries,
                   Listing listing = Listing::Everything);

// The same listing with each entry's status, asked beside the open folder rather than by a walk of
// each entry's whole path.
bool ListDirectoryWithStatus(const std::string& path, std::vector<DirectoryEntry>& entries,
                             Listing listing = Listing::Everything);

// Whether a file name has the form of our temporary files: "." + a name + ".part" + six letters or digits.
bool IsTemporaryName(std::string_view name);
// Creates a new empty file beside `target` under a unique temporary name and locks it: while a
// descriptor of it stays open (this one or a duplicate), the file counts as in use. The descriptor is
// not open on failure.
FileDescriptor CreateTemporaryBeside(const std::string& target, std::string& temporaryPath);
// Removes from the folder of `target` the temporary files, of any target, that no process holds any
// more: those of writers that were killed. Both programs write into the same folders, so a file still
// in use is never touched.
void RemoveStaleTemporaries(const std::string& target);
// The path that a chain of symbolic links starting at `path` ends at (`path` itself when it is no
// link); the end need not exist. False for a chain that loops.
bool FollowLinks(const std::string& path, std::string& end);

// Appends everything from the descriptor's position to its end, going on after interrupted calls;
// false on a read error or when more than `limit` bytes would be appended.
bool ReadToEnd(int descriptor, std::string& bytes, size_t limit = std::numeric_limits<size_t>::max());
// Writes all of `bytes`, going on after interrupted and short writes; false on an error.
bool WriteAll(int descriptor, std::string_view bytes);

// Flushes the folder entry of `path` to the disk; true where the filesystem cannot (nothing to wait for).
bool SyncDirectoryOf(const std::string& path);

} // namespace nativefiles
