#pragma once
// What a save of the iPod database asks of the file system, one call a step. The save reaches files
// only through it, so that a test can make any step fail, or end the process at it.

#include "platform/files/FileDescriptor.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class PodFileSystem {
public:
    enum class ExchangeResult { Exchanged, Unsupported, Failed };

    virtual ~PodFileSystem() = default;
    // The live file system.
    static PodFileSystem& Native();

    // Free bytes on the volume of the folder (or of its nearest existing parent).
    virtual bool GetFreeSpace(const std::string& folder, uint64_t& bytes);
    // A new empty file beside `target` under a hidden temporary name, with the target's permissions
    // (0644 when there is no target), claimed while this descriptor or a duplicate stays open; not open
    // on failure.
    virtual nativefiles::FileDescriptor CreateBeside(const std::string& target, std::string& path);
    // Removes the temporary files beside `target` that a killed writer left (none that a running one
    // holds).
    virtual void RemoveStaleTemporaries(const std::string& target);
    // Marks a file as in use for as long as the descriptor stays open, so that no process takes it for
    // a killed writer's leftover while it lies under a temporary name; not open where that fails.
    virtual nativefiles::FileDescriptor Claim(const std::string& path);
    // A new empty file of that name; never one that exists.
    virtual nativefiles::FileDescriptor CreateNew(const std::string& path);
    virtual bool Write(int file, std::span<const uint8_t> bytes);
    // Data and length on the disk.
    virtual bool Flush(int file);
    virtual bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes);
    // Swaps what the two names hold in one step; Unsupported where the file system cannot.
    virtual ExchangeResult Exchange(const std::string& a, const std::string& b);
    // Puts `from` in the place of `to` in one step.
    virtual bool RenameOver(const std::string& from, const std::string& to);
    virtual bool Remove(const std::string& path);
    // The renames in the folder of `path` on the disk.
    virtual bool SyncFolderOf(const std::string& path);

    // Writes the whole of a new file through the steps above, flushes and closes it; false when any of
    // it failed.
    bool WriteNewFile(nativefiles::FileDescriptor file, std::span<const uint8_t> bytes);
};
