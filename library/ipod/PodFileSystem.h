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
    struct Room {
        uint64_t freeBytes = 0;
        // Every file takes whole blocks.
        uint64_t blockSize = 1;
    };

    virtual ~PodFileSystem() = default;
    // The live file system.
    static PodFileSystem& Native();

    // The room left on the volume of the folder.
    virtual bool GetRoom(const std::string& folder, Room& room);
    // Whether the file system of `target`'s folder swaps two names in one step: tried on two new empty
    // files beside it, which are removed again. False where it cannot be tried.
    virtual bool CanExchangeBeside(const std::string& target);
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
