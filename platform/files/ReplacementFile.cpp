#include "platform/files/ReplacementFile.h"

#include "platform/files/NativeFiles.h"

#include <sys/stat.h>
#include <unistd.h>

namespace nativefiles {

bool ReplacementFile::Begin(const std::string& target) {
    Drop();
    RemoveStaleTemporaries(target);
    m_file = CreateTemporaryBeside(target, m_temporary);
    if (!m_file.IsOpen())
        return false;
    m_claim = m_file.Duplicate();
    if (!m_claim.IsOpen()) {
        Drop();
        return false;
    }
    m_target = target;
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
