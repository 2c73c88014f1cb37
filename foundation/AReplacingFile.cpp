#include "foundation/AReplacingFile.h"

#include "foundation/ErrorCodes.h"
#include "platform/files/NativeFiles.h"

#include <algorithm>
#include <string>
#include <sys/stat.h>

namespace {

constexpr mode_t kNewFileMode = 0644;

} // namespace

AReplacingFile::~AReplacingFile() {
    Abandon();
}

int AReplacingFile::Begin(const AString& target, bool force) {
    Abandon();
    const std::string path = target.ToSystem8Bit();
    const nativefiles::PathStatus status = nativefiles::GetStatus(path);
    if (status.isDirectory)
        return kErrorOpen;
    if (status.exists && status.isReadOnly && !force)
        return kErrorOpen;
    if (!m_replacement.Begin(path))
        return kErrorOpen;
    if (!status.exists)
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
    m_replacement.Drop();
    return result;
}

void AReplacingFile::Abandon() {
    Close(false);
    m_replacement.Drop();
}
