#include "foundation/FileOps.h"

#include "foundation/ErrorCodes.h"
#include "foundation/RemoteFileCache.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/PathSeparator.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace {

using nativefiles::PathStatus;

PathStatus StatusOf(const AString& path) {
    return nativefiles::GetStatus(path.ToSystem8Bit());
}

// What is known of a local or remote path.
FileInfo InfoOf(const AString& path) {
    FileInfo info;
    if (IsRemotePath(path))
        RemoteFileCache::Instance().GetFileInfo(path, info);
    else
        GetFileInfo(path, info);
    return info;
}

// The path itself when it exists, else its nearest existing folder.
std::string NearestExisting(std::string path) {
    while (!nativefiles::GetStatus(path).exists && path != "/" && path != ".")
        path = nativefiles::ParentOf(path);
    return path;
}

// The system's seconds since 1904 as Unix seconds; false for a time no calendar can show.
bool ToUnixTime(uint64_t macTime, int64_t& unixTime) {
    if (macTime > static_cast<uint64_t>(INT64_MAX))
        return false;
    unixTime = MacToUnixTime(macTime);
    const time_t asTime = static_cast<time_t>(unixTime);
    std::tm local{};
    return localtime_r(&asTime, &local) != nullptr;
}

// Runs `operation`; when it fails on a read-only `subject` and `force` is set, clears the bit and runs
// it once more. Returns 0, `forcedFailure` (the bit set back) or `failure`.
template <typename Operation>
int WithReadOnlyForce(const std::string& subject, bool force, int forcedFailure, int failure,
                      Operation operation) {
    const bool readOnly = nativefiles::GetStatus(subject).isReadOnly;
    if (!readOnly)
        return operation() ? 0 : failure;
    if (!force)
        return failure;
    if (!nativefiles::SetReadOnly(subject, false))
        return forcedFailure;
    if (operation())
        return 0;
    nativefiles::SetReadOnly(subject, true);
    return forcedFailure;
}

} // namespace

uint64_t UnixToMacTime(int64_t unixSeconds) {
    return static_cast<uint64_t>(unixSeconds + static_cast<int64_t>(kMacTimeOffset));
}

int64_t MacToUnixTime(uint64_t macSeconds) {
    return static_cast<int64_t>(macSeconds) - static_cast<int64_t>(kMacTimeOffset);
}

bool IsRemotePath(const AString& path) {
    return path.GetLength() > 1 && path.GetAt(0) == u'?';
}

bool IsReadOnly(const AString& path) {
    const PathStatus status = StatusOf(path);
    return status.exists && status.isReadOnly;
}

int SetReadOnly(const AString& path, bool readOnly) {
    return nativefiles::SetReadOnly(path.ToSystem8Bit(), readOnly) ? 0 : kErrorSetReadOnly;
}

void GetFileInfo(const AString& path, FileInfo& info) {
    info = FileInfoOfStatus(StatusOf(path));
}

FileInfo FileInfoOfStatus(const PathStatus& status) {
    FileInfo info;
    if (!status.exists)
        return info;
    info.exists = 1;
    info.isDirectory = status.isDirectory ? 1 : 0;
    if (status.isDirectory)
        return info;
    info.notHidden = status.isHidden ? 0 : 1;
    info.size = status.size;
    info.modTime = UnixToMacTime(status.modifiedUnix);
    return info;
}

uint64_t GetFileModTime(const AString& path) {
    return InfoOf(path).modTime;
}

uint64_t GetFileSize64(const AString& path) {
    return InfoOf(path).size;
}

bool FileExists(const AString& path) {
    if (IsRemotePath(path))
        return InfoOf(path).exists != 0;
    return nativefiles::IsReadableFile(path.ToSystem8Bit());
}

bool DirectoryExists(const AString& path) {
    return StatusOf(path).isDirectory;
}

int CreateDirectoryPath(const AString& path) {
    const std::string native = path.ToSystem8Bit();
    std::string built = native.starts_with(kPathSeparator) ? std::string(1, kPathSeparator) : "";
    size_t start = 0;
    while (start <= native.size()) {
        size_t end = native.find(kPathSeparator, start);
        if (end == std::string::npos)
            end = native.size();
        if (end > start) {
            built += native.substr(start, end - start);
            if (!nativefiles::GetStatus(built).isDirectory && !nativefiles::MakeDirectory(built))
                return kErrorCreateDirectory;
            built += kPathSeparator;
        }
        start = end + 1;
    }
    return 0;
}

int SetFileModTime(const AString& path, uint64_t macTime, bool force) {
    const std::string native = path.ToSystem8Bit();
    const PathStatus status = nativefiles::GetStatus(native);
    if (!status.exists)
        return kErrorModTimeNoAttributes;
    int64_t unixTime = 0;
    if (!ToUnixTime(macTime, unixTime))
        return kErrorModTimeConvert;
    if (status.isDirectory)
        return kErrorModTimeOpen;
    if (!status.isReadOnly)
        return nativefiles::SetModifiedTime(native, unixTime) ? 0 : kErrorModTimeSet;
    if (!force)
        return kErrorModTimeOpen;
    if (!nativefiles::SetReadOnly(native, false))
        return kErrorModTimeForcedOpen;
    const bool set = nativefiles::SetModifiedTime(native, unixTime);
    nativefiles::SetReadOnly(native, true);
    return set ? 0 : kErrorModTimeForcedSet;
}

int DeleteFileLong(const AString& path, bool force) {
    const std::string native = path.ToSystem8Bit();
    if (!nativefiles::GetStatus(native).exists || nativefiles::GetStatus(native).isDirectory)
        return kErrorDelete;
    return WithReadOnlyForce(native, force, kErrorDeleteForced, kErrorDelete,
                             [&] { return nativefiles::RemoveFile(native); });
}

int MoveFileLong(const AString& source, const AString& target, bool force) {
    const std::string from = source.ToSystem8Bit();
    const std::string to = target.ToSystem8Bit();
    switch (nativefiles::MoveNoReplace(from, to)) {
    case nativefiles::MoveResult::Moved:
        return 0;
    case nativefiles::MoveResult::CrossDevice:
        break;
    default:
        return kErrorMove;
    }
    // Another filesystem: copy, then delete the source once the copy is on the disk; on any failure
    // the source stays.
    if (nativefiles::GetStatus(to).exists)
        return kErrorMove;
    if (nativefiles::CopyFileReplacing(from, to, {}) != nativefiles::CopyOutcome::Copied)
        return kErrorMove;
    const int deleted = DeleteFileLong(source, force);
    if (deleted != 0) {
        nativefiles::RemoveFile(to);
        return deleted == kErrorDeleteForced ? kErrorMoveForced : kErrorMove;
    }
    return 0;
}

int CopyFileLong(const AString& source, const AString& target, bool force) {
    const std::string from = source.ToSystem8Bit();
    const std::string to = target.ToSystem8Bit();
    if (nativefiles::SameFile(from, to))
        return 0;
    const PathStatus targetStatus = nativefiles::GetStatus(to);
    if (targetStatus.isDirectory)
        return kErrorCopy;
    if (targetStatus.exists && targetStatus.isReadOnly && !force)
        return kErrorCopy;
    const bool copied = nativefiles::CopyFileReplacing(from, to, {}) == nativefiles::CopyOutcome::Copied;
    if (copied)
        return 0;
    return targetStatus.isReadOnly ? kErrorCopyForced : kErrorCopy;
}

bool TimesMatch(uint64_t a, uint64_t b) {
    const uint64_t difference = a > b ? a - b : b - a;
    return difference <= 60 || (difference >= 3540 && difference <= 3660);
}

bool FilesMatch(const AString& a, const AString& b) {
    const FileInfo first = InfoOf(a);
    const FileInfo second = InfoOf(b);
    if (!first.exists || first.isDirectory || !second.exists || second.isDirectory)
        return false;
    return first.size == second.size && TimesMatch(first.modTime, second.modTime);
}

int GetFreeSpace(const AString& path, uint64_t& bytes) {
    return nativefiles::GetFreeSpace(NearestExisting(path.ToSystem8Bit()), bytes) ? 0 : kErrorFreeSpace;
}

// The copy is written beside the target, which stays until the copy is whole: the volume must hold
// the whole new file. What killed copies of this target left behind is removed first, as the copy
// would remove it anyway.
int CheckRoomForCopy(const AString& source, const AString& target) {
    const uint64_t newSize = GetFileSize64(source);
    nativefiles::RemoveStaleTemporaries(target.ToSystem8Bit());
    uint64_t freeBytes = 0;
    if (const int result = GetFreeSpace(target, freeBytes))
        return result;
    if (newSize > 0 && freeBytes <= newSize)
        return kErrorNoSpace;
    return 0;
}

int CopyFileChecked(const AString& source, const AString& target, bool force) {
    if (const int result = CheckRoomForCopy(source, target))
        return result;
    if (const int result = CopyFileLong(source, target, force))
        return result;
    return FilesMatch(source, target) ? 0 : kErrorUnableToVerify;
}
