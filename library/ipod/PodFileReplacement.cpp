#include "library/ipod/PodFileReplacement.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/PodFileSystem.h"
#include "platform/files/NativeFiles.h"

#include <utility>

namespace {

using ExchangeResult = PodFileSystem::ExchangeResult;

} // namespace

PodFileReplacement::~PodFileReplacement() {
    RemoveLeftovers();
}

int PodFileReplacement::Stage(const std::string& target, std::span<const uint8_t> bytes) {
    const nativefiles::PathStatus status = nativefiles::GetStatus(target);
    if (status.isDirectory || (status.exists && status.isReadOnly))
        return kErrorOpen;
    m_files.RemoveStaleTemporaries(target);
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

// The old target stays at hand (under the temporary name) until every file is in place.
int PodFileReplacement::Replace(StagedFile& file) {
    if (!nativefiles::GetStatus(file.target).exists) {
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
    // A file system that cannot swap two names keeps a copy of the old target instead.
    if (const int result = KeepCopyOfOld(file))
        return result;
    if (!m_files.RenameOver(file.temporary, file.target))
        return kErrorWrite;
    file.replaced = true;
    return 0;
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

int PodFileReplacement::SyncFolders() {
    bool synced = true;
    for (const StagedFile& file : m_staged)
        synced = m_files.SyncFolderOf(file.target) && synced;
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
