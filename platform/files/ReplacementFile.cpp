#include "platform/files/ReplacementFile.h"

#include "platform/files/NativeFiles.h"

#include <sys/stat.h>
#include <unistd.h>

namespace nativefiles {

namespace {

// The new file is the old one's next version: whoever could read the old one reads it. Only a
// privileged writer may hand a file to another owner; any other keeps what it may.
void TakeOwnerAndMode(int descriptor, const std::string& oldFile) {
    struct stat old {};
    if (stat(oldFile.c_str(), &old) != 0)
        return;
    if (fchown(descriptor, old.st_uid, old.st_gid) != 0)
        (void)!fchown(descriptor, static_cast<uid_t>(-1), old.st_gid);
    // Some filesystems (FAT) keep no modes.
    fchmod(descriptor, old.st_mode & 07777);
}

} // namespace

bool ReplacementFile::Begin(const std::string& target) {
    Drop();
    std::string replaced;
    if (!FollowLinks(target, replaced))
        return false;
    RemoveStaleTemporaries(replaced);
    m_file = CreateTemporaryBeside(replaced, m_temporary);
    if (!m_file.IsOpen())
        return false;
    m_claim = m_file.Duplicate();
    if (!m_claim.IsOpen()) {
        Drop();
        return false;
    }
    TakeOwnerAndMode(m_file.Get(), replaced);
    m_target = replaced;
    return true;
}

bool ReplacementFile::PutInPlace(uint64_t length, bool sync) {
    if (!m_claim.IsOpen())
        return false;
    struct stat info {};
    if ((sync && fdatasync(m_claim.Get()) != 0) || fstat(m_claim.Get(), &info) != 0 ||
        static_cast<uint64_t>(info.st_size) != length || !RenameOver(m_temporary, m_target))
        return false;
    m_placed = true;
    m_temporary.clear();
    m_file.Close();
    m_claim.Close();
    return !sync || SyncDirectoryOf(m_target);
}

void ReplacementFile::Drop() {
    m_file.Close();
    if (!m_temporary.empty())
        RemoveFile(m_temporary);
    m_temporary.clear();
    m_claim.Close();
    m_placed = false;
}

} // namespace nativefiles
