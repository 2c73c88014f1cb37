#include "foundation/AReplacingFile.h"

#include "foundation/ErrorCodes.h"
#include "platform/files/NativeFiles.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

constexpr mode_t kNewFileMode = 0644;

} // namespace

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
    if (!m_replacement.Begin(m_target))
        return kErrorOpen;
    struct stat info {};
    if (status.exists && stat(m_target.c_str(), &info) == 0)
        fchmod(m_replacement.File().Get(), (info.st_mode & 07777) | S_IWUSR);
    else
        fchmod(m_replacement.File().Get(), kNewFileMode);
    m_extent = 0;
    if (const int result = Adopt(std::move(m_replacement.File()), "w+b")) {
        m_replacement.Drop();
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
    if (!IsOpen())
        return kErrorWrite;
    int result = Close(true);
    if (result == 0 && !m_replacement.PutInPlace(m_extent))
        result = kErrorWrite;
    if (m_replacement.IsPlaced() && m_keepReadOnly)
        nativefiles::SetReadOnly(m_target, true);
    m_replacement.Drop();
    return result;
}

void AReplacingFile::Abandon() {
    Close(false);
    m_replacement.Drop();
}
