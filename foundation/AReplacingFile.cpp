#include "foundation/AReplacingFile.h"

#include "foundation/ErrorCodes.h"
#include "platform/files/NativeFiles.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

AReplacingFile::~AReplacingFile() {
    Abandon();
}

int AReplacingFile::Begin(const AString& target, bool force) {
    Abandon();
    m_target = target.ToSystem8Bit();
    const nativefiles::PathStatus status = nativefiles::GetStatus(m_target);
    if (status.isDirectory)
        return kErrorOpen;
    if (status.exists && status.isReadOnly && !force)
        return kErrorOpen;
    m_keepReadOnly = status.exists && status.isReadOnly;
    nativefiles::FileDescriptor file = nativefiles::CreateTemporaryBeside(m_target, m_temporary);
    if (!file.IsOpen())
        return kErrorOpen;
    struct stat info {};
    if (status.exists && stat(m_target.c_str(), &info) == 0)
        fchmod(file.Get(), (info.st_mode & 07777) | S_IWUSR);
    else
        fchmod(file.Get(), 0644);
    m_extent = 0;
    if (const int result = Adopt(std::move(file), "w+b")) {
        nativefiles::RemoveFile(m_temporary);
        m_temporary.clear();
        return result;
    }
    return 0;
}

int AReplacingFile::Write(const void* buffer, uint32_t length) {
    const int result = AFile::Write(buffer, length);
    if (result == 0)
        m_extent = std::max(m_extent, GetPosition());
    return result;
}

int AReplacingFile::Commit() {
    if (m_temporary.empty())
        return kErrorWrite;
    int result = SyncToDisk();
    if (result == 0 && GetLength() != m_extent)
        result = kErrorWrite;
    const int closed = Close(false);
    if (result == 0)
        result = closed;
    if (result == 0 && !nativefiles::RenameOver(m_temporary, m_target))
        result = kErrorWrite;
    if (result != 0) {
        Abandon();
        return result;
    }
    m_temporary.clear();
    nativefiles::SyncDirectoryOf(m_target);
    if (m_keepReadOnly)
        nativefiles::SetReadOnly(m_target, true);
    return 0;
}

void AReplacingFile::Abandon() {
    Close(false);
    if (!m_temporary.empty())
        nativefiles::RemoveFile(m_temporary);
    m_temporary.clear();
}
