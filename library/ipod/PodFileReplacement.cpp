#include "library/ipod/PodFileReplacement.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/PodFileSystem.h"
#include "platform/files/NativeFiles.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

using ExchangeResult = PodFileSystem::ExchangeResult;

uint64_t SizeOf(const std::string& path) {
    const nativefiles::PathStatus status = nativefiles::GetStatus(path);
    return status.exists ? status.size : 0;
}

} // namespace

PodFileReplacement::~PodFileReplacement() {
    RemoveLeftovers();
}

// A killed save's leftovers are gone before the room is counted: they would take room the save needs.
int PodFileReplacement::Prepare(std::span<const NewFile> files) {
    if (files.empty())
        return 0;
    for (const NewFile& file : files)
        m_files.RemoveStaleTemporaries(file.target);
    const std::string folder = nativefiles::ParentOf(files.front().target);
    if (!nativefiles::GetStatus(folder).isDirectory)
        return kErrorOpen;
    PodFileSystem::Room room;
    if (!m_files.GetRoom(folder, room))
        return kErrorFreeSpace;
    m_blockSize = std::max<uint64_t>(room.blockSize, 1);
    m_exchange = m_files.CanExchangeBeside(files.front().target);
    // The new names may take one more block of the folder.
    uint64_t needed = m_blockSize;
    for (const NewFile& file : files)
        needed += BytesOnVolume(file.size) + (m_exchange ? 0 : BytesOnVolume(SizeOf(file.target)));
    return needed <= room.freeBytes ? 0 : kErrorNoSpace;
}

// Each file ends in a block of its own.
uint64_t PodFileReplacement::BytesOnVolume(uint64_t bytes) const {
    return (bytes + m_blockSize - 1) / m_blockSize * m_blockSize;
}

int PodFileReplacement::Stage(const std::string& target, std::span<const uint8_t> bytes) {
    const nativefiles::PathStatus status = nativefiles::GetStatus(target);
    if (status.isDirectory || (status.exists && status.isReadOnly))
        return kErrorOpen;
    StagedFile staged;
    staged.target = target;
    nativefiles::FileDescriptor file = m_files.CreateBeside(target, staged.temporary);
    if (!file.IsOpen())
        return kErrorOpen;
    staged.claim = file.Duplicate();
    m_staged.push_back(std::move(staged));
    if (!m_staged.back().claim.IsOpen())
        return kErrorOpen;
    return m_files.WriteNewFile(std::move(file), bytes) ? 0 : kErrorWrite;
}

int PodFileReplacement::Commit() {
    if (!m_exchange) {
        if (const int result = KeepCopiesOfOld())
            return result;
    }
    for (size_t i = 0; i < m_staged.size(); ++i) {
        if (const int result = Replace(m_staged[i])) {
            while (i-- > 0)
                PutBack(m_staged[i]);
            return result;
        }
    }
    const int result = SyncFolders();
    RemoveLeftovers();
    m_staged.clear();
    return result;
}

// Where names cannot be swapped, every old file is copied before the first one is replaced, so that
// the replacements follow each other with nothing between them.
int PodFileReplacement::KeepCopiesOfOld() {
    for (StagedFile& file : m_staged) {
        if (file.replaced || !file.old.empty() || !nativefiles::GetStatus(file.target).exists)
            continue;
        if (const int result = KeepCopyOfOld(file))
            return result;
    }
    return 0;
}

// The old target stays at hand (under a temporary name) until every file is in place.
int PodFileReplacement::Replace(StagedFile& file) {
    if (!file.old.empty() || !nativefiles::GetStatus(file.target).exists) {
        if (!m_files.RenameOver(file.temporary, file.target))
            return kErrorWrite;
        file.replaced = true;
        return 0;
    }
    // Where the file system has no locks the old file goes unclaimed; the swap goes on all the same.
    file.oldClaim = m_files.Claim(file.target);
    switch (m_files.Exchange(file.temporary, file.target)) {
    case ExchangeResult::Exchanged:
        file.old = file.temporary;
        file.replaced = true;
        return 0;
    case ExchangeResult::Failed:
        return kErrorWrite;
    case ExchangeResult::Unsupported:
        break;
    }
    // The file system swaps no names after all: the old files that are still in place are copied
    // first, as Prepare would have had them copied.
    m_exchange = false;
    if (const int result = KeepCopiesOfOld())
        return result;
    return Replace(file);
}

int PodFileReplacement::KeepCopyOfOld(StagedFile& file) {
    std::vector<uint8_t> bytes;
    if (!m_files.ReadAll(file.target, bytes))
        return kErrorRead;
    nativefiles::FileDescriptor copy = m_files.CreateBeside(file.target, file.old);
    if (!copy.IsOpen())
        return kErrorOpen;
    file.oldClaim = copy.Duplicate();
    return m_files.WriteNewFile(std::move(copy), bytes) ? 0 : kErrorWrite;
}

void PodFileReplacement::PutBack(StagedFile& file) {
    if (!file.replaced)
        return;
    if (file.old.empty() ? m_files.Remove(file.target) : m_files.RenameOver(file.old, file.target))
        file.replaced = false;
    // The old file is left where it lies when it cannot go back: it is never removed.
    file.old.clear();
}

// Each folder once: the files of a save share one, and every sync of it waits on the disk.
int PodFileReplacement::SyncFolders() {
    std::set<std::string> folders;
    bool synced = true;
    for (const StagedFile& file : m_staged) {
        if (folders.insert(nativefiles::ParentOf(file.target)).second)
            synced = m_files.SyncFolderOf(file.target) && synced;
    }
    return synced ? 0 : kErrorWrite;
}

void PodFileReplacement::RemoveLeftovers() {
    for (StagedFile& file : m_staged) {
        if (!file.replaced && !file.temporary.empty())
            m_files.Remove(file.temporary);
        if (!file.old.empty())
            m_files.Remove(file.old);
        file.temporary.clear();
        file.old.clear();
    }
}
