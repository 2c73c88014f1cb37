#pragma once
// Replaces files that must agree (the iPod's iTunesDB and iTunesSD) as one: every new file is written
// beside its target, flushed and checked before any target is replaced, and where the file system
// cannot swap two names, every old file is copied too; then they replace their targets back to back,
// and when one cannot, those before it are put back. A failure leaves every old file or every new one.
// A process ended between two replacements leaves the earlier files new and the later ones old, so
// the files that matter most go first.

#include "platform/files/FileDescriptor.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class PodFileSystem;

class PodFileReplacement {
public:
    struct NewFile {
        std::string target;
        uint64_t size;
    };

    explicit PodFileReplacement(PodFileSystem& files) : m_files(files) {}
    PodFileReplacement(const PodFileReplacement&) = delete;
    PodFileReplacement& operator=(const PodFileReplacement&) = delete;
    // Removes whatever was staged and not put in place.
    ~PodFileReplacement();

    // Before anything is staged, for targets in one folder: removes what killed writers left beside
    // them and checks that the new files fit beside the old ones, with the copies of the old ones that
    // the replacement keeps. 0, -102394, -15041 when the folder is missing, or -15076 when the room
    // cannot be asked.
    int Prepare(std::span<const NewFile> files);
    // Writes the target's new content beside it and flushes it. A target that is a folder or read-only
    // is refused (-15041); a failed write or flush gives -15045.
    int Stage(const std::string& target, std::span<const uint8_t> bytes);
    // Puts every staged file in the place of its target, in the order staged. 0, or -15045 when a
    // file could not be put in place (the earlier ones are then back as they were) or when the
    // folder could not be synced after all were in place.
    int Commit();

private:
    struct StagedFile {
        std::string target;
        std::string temporary;
        // Where the old target lies once replaced; empty when there was none.
        std::string old;
        bool replaced = false;
        // Hold the new file and the old one as in use while they lie under temporary names.
        nativefiles::FileDescriptor claim;
        nativefiles::FileDescriptor oldClaim;
    };

    uint64_t BytesOnVolume(uint64_t bytes) const;
    int KeepCopiesOfOld();
    int Replace(StagedFile& file);
    int KeepCopyOfOld(StagedFile& file);
    void PutBack(StagedFile& file);
    int SyncFolders();
    void RemoveLeftovers();

    PodFileSystem& m_files;
    std::vector<StagedFile> m_staged;
    // Whether the targets' file system swaps two names in one step, as Prepare found.
    bool m_exchange = true;
    uint64_t m_blockSize = 1;
};
