#include "library/ipod/PodFileSystem.h"

#include "foundation/AFile.h"
#include "foundation/AString.h"
#include "foundation/RecordIO.h"
#include "platform/files/NativeFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr int kNoMemory = -1;

} // namespace

PodFileSystem& PodFileSystem::Native() {
    static PodFileSystem native;
    return native;
}

bool PodFileSystem::GetRoom(const std::string& folder, Room& room) {
    struct statvfs volume {};
    if (statvfs(folder.c_str(), &volume) != 0 || volume.f_frsize == 0)
        return false;
    room.freeBytes = uint64_t{volume.f_bavail} * volume.f_frsize;
    room.blockSize = volume.f_frsize;
    return true;
}

bool PodFileSystem::CanExchangeBeside(const std::string& target) {
    std::string first;
    std::string second;
    const nativefiles::FileDescriptor a = CreateBeside(target, first);
    const nativefiles::FileDescriptor b =
        a.IsOpen() ? CreateBeside(target, second) : nativefiles::FileDescriptor();
    const bool exchanged = b.IsOpen() && Exchange(first, second) == ExchangeResult::Exchanged;
    if (a.IsOpen())
        Remove(first);
    if (b.IsOpen())
        Remove(second);
    return exchanged;
}

nativefiles::FileDescriptor PodFileSystem::CreateBeside(const std::string& target, std::string& path) {
    nativefiles::FileDescriptor file = nativefiles::CreateTemporaryBeside(target, path);
    struct stat old {};
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) | S_IWUSR : kNewFileMode;
    if (file.IsOpen())
        fchmod(file.Get(), mode);
    return file;
}

nativefiles::FileDescriptor PodFileSystem::CreateNew(const std::string& path) {
    return nativefiles::FileDescriptor(
        open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
}

void PodFileSystem::RemoveStaleTemporaries(const std::string& target) {
    nativefiles::RemoveStaleTemporaries(target);
}

nativefiles::FileDescriptor PodFileSystem::Claim(const std::string& path) {
    nativefiles::FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (file.IsOpen() && flock(file.Get(), LOCK_SH | LOCK_NB) != 0)
        file.Close();
    return file;
}

bool PodFileSystem::Write(int file, std::span<const uint8_t> bytes) {
    return nativefiles::WriteAll(file, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

bool PodFileSystem::Flush(int file) {
    return fdatasync(file) == 0;
}

bool PodFileSystem::ReadAll(const std::string& path, std::vector<uint8_t>& bytes) {
    AFile file;
    if (file.Open(AString(path), AFile::kModeRead, false) != 0)
        return false;
    return recordio::ReadBytes(file, file.GetLength(), bytes, kNoMemory) == 0;
}

PodFileSystem::ExchangeResult PodFileSystem::Exchange(const std::string& a, const std::string& b) {
    if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0)
        return ExchangeResult::Exchanged;
    return errno == EINVAL || errno == ENOSYS ? ExchangeResult::Unsupported : ExchangeResult::Failed;
}

bool PodFileSystem::RenameOver(const std::string& from, const std::string& to) {
    return nativefiles::RenameOver(from, to);
}

bool PodFileSystem::Remove(const std::string& path) {
    return nativefiles::RemoveFile(path);
}

bool PodFileSystem::SyncFolderOf(const std::string& path) {
    return nativefiles::SyncDirectoryOf(path);
}

bool PodFileSystem::WriteNewFile(nativefiles::FileDescriptor file, std::span<const uint8_t> bytes) {
    const bool flushed = Write(file.Get(), bytes) && Flush(file.Get());
    return file.Close() && flushed;
}
