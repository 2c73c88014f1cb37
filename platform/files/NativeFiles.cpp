#include "platform/files/NativeFiles.h"

#include "platform/files/ReplacementFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace nativefiles {
namespace {

constexpr std::string_view kTemporaryInfix = ".part";
constexpr std::string_view kTemporaryUniquePart = "XXXXXX";
// A cleaner that took the lock of a new file first removes it; the writer then makes another.
constexpr int kTemporaryAttempts = 8;
// As many links as the kernel follows in one path before it gives up.
constexpr int kMostLinksFollowed = 40;

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

CopyOutcome CopyByReadWrite(int fromFd, int toFd, uint64_t length) {
    static constexpr size_t kBufferSize = 1 << 20;
    std::vector<char> buffer(kBufferSize);
    while (length > 0) {
        const ssize_t got = read(fromFd, buffer.data(), std::min<uint64_t>(length, kBufferSize));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return CopyOutcome::ReadFailed;
        if (got == 0)
            return CopyOutcome::SourceShort;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(toFd, buffer.data() + done, got - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return CopyOutcome::WriteFailed;
            done += put;
        }
        length -= got;
    }
    return CopyOutcome::Copied;
}

// Copies `length` bytes of an open file into another, from the current offsets.
CopyOutcome CopyFileData(int fromFd, int toFd, uint64_t length) {
    uint64_t left = length;
    while (left > 0) {
        const ssize_t copied = copy_file_range(fromFd, nullptr, toFd, nullptr, left, 0);
        if (copied > 0) {
            left -= static_cast<uint64_t>(copied);
            continue;
        }
        if (copied < 0 && errno == EINTR)
            continue;
        // The kernel could not copy (or the source ended): plain reads and writes carry on from the
        // same offsets and tell a read failure, a short source and a write failure apart.
        return CopyByReadWrite(fromFd, toFd, left);
    }
    return CopyOutcome::Copied;
}

// Copies `size` bytes chunk by chunk, asking before each chunk whether to stop and telling the
// progress after each.
CopyOutcome CopyDataInChunks(int source, int target, uint64_t size, const CopyControl& control) {
    for (uint64_t done = 0; done < size;) {
        if (control.shouldStop && control.shouldStop())
            return CopyOutcome::Stopped;
        const uint64_t chunk = std::min(control.chunkSize, size - done);
        if (const CopyOutcome outcome = CopyFileData(source, target, chunk); outcome != CopyOutcome::Copied)
            return outcome;
        done += chunk;
        if (control.onProgress)
            control.onProgress(done);
    }
    return CopyOutcome::Copied;
}

// The name of each entry of a folder other than "." and "..", with its type when the folder says it
// and the folder's descriptor.
template <typename Visit> bool VisitNames(const std::string& folder, Visit visit) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return false;
    // Only readdir's own errno counts: a visit may leave one of its own (a link to nothing).
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry)
            return errno == 0;
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            visit(name, entry->d_type, dirfd(dir.get()));
    }
}

std::string TemporaryPrefixOf(const std::string& target) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "." + a temporary string.
    std::string prefix = ".";
    prefix.append(BaseName(target)).append(kTemporaryInfix);
    return prefix;
}

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes a temporary file when no open descriptor holds its lock. The name is checked again under the
// lock: it may have gone to a newer file meanwhile.
void RemoveIfUnclaimed(const std::string& path) {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    struct stat named {};
    if (!file.IsOpen() || fstat(file.Get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return;
    if (flock(file.Get(), LOCK_EX | LOCK_NB) != 0)
        return;
    if (lstat(path.c_str(), &named) == 0 && SameInode(named, opened))
        unlink(path.c_str());
}

// The closed copy gets the source's times and mode, and goes in place of `to`.
CopyOutcome PutInPlace(const std::string& from, ReplacementFile& copy, uint64_t size, bool sync) {
    if (!CopyTimesAndMode(from, copy.TemporaryPath()))
        return CopyOutcome::TimesFailed;
    return copy.PutInPlace(size, sync) ? CopyOutcome::Copied : CopyOutcome::WriteFailed;
}

} // namespace

std::string ParentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

PathStatus StatusOf(const struct stat& info, std::string_view name) {
    PathStatus status;
    status.exists = true;
    status.isDirectory = S_ISDIR(info.st_mode);
    status.isRegularFile = S_ISREG(info.st_mode);
    status.isHidden = name.starts_with('.');
    status.isReadOnly = (info.st_mode & S_IWUSR) == 0;
    status.size = static_cast<uint64_t>(info.st_size);
    status.modifiedUnix = info.st_mtim.tv_sec;
    status.device = info.st_dev;
    status.inode = info.st_ino;
    return status;
}

} // namespace

PathStatus GetStatus(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return PathStatus();
    return StatusOf(info, BaseName(path));
}

bool IsReadableFile(const std::string& path) {
    const PathStatus status = GetStatus(path);
    return status.isRegularFile && access(path.c_str(), R_OK) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    const PathStatus first = GetStatus(a);
    const PathStatus second = GetStatus(b);
    return first.exists && second.exists && first.device == second.device && first.inode == second.inode;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;
    mode_t mode = info.st_mode & 07777;
    mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return chmod(path.c_str(), mode) == 0;
}

bool MakeDirectory(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && GetStatus(path).isDirectory);
}

bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

MoveResult MoveNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return MoveResult::Moved;
    if (errno == EEXIST)
        return MoveResult::TargetExists;
    if (errno == EXDEV)
        return MoveResult::CrossDevice;
    if (errno != EINVAL && errno != ENOSYS)
        return MoveResult::Failed;
    // The filesystem cannot refuse to replace on its own: ask first.
    if (GetStatus(to).exists)
        return MoveResult::TargetExists;
    if (rename(from.c_str(), to.c_str()) == 0)
        return MoveResult::Moved;
    return errno == EXDEV ? MoveResult::CrossDevice : MoveResult::Failed;
}

bool RenameOver(const std::string& from, const std::string& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

bool SetModifiedTime(const std::string& path, int64_t unixSeconds) {
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[0].tv_sec = 0;
    times[1].tv_sec = unixSeconds;
    times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool CopyTimesAndMode(const std::string& from, const std::string& to) {
    struct stat info {};
    if (stat(from.c_str(), &info) != 0)
        return false;
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    const bool timesSet = utimensat(AT_FDCWD, to.c_str(), times, 0) == 0;
    // Some filesystems (FAT) cannot keep modes; the times are what matters.
    chmod(to.c_str(), info.st_mode & 07777);
    return timesSet;
}

CopyOutcome CopyFileReplacing(const std::string& from, const std::string& to, const CopyControl& control) {
    FileDescriptor source(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.IsOpen())
        return CopyOutcome::SourceOpenFailed;
    struct stat info {};
    if (fstat(source.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return CopyOutcome::SourceOpenFailed;
    ReplacementFile copy;
    if (!copy.Begin(to))
        return CopyOutcome::TargetOpenFailed;
    const auto size = static_cast<uint64_t>(info.st_size);
    // Reserving the whole length at once spares the filesystem growing the file chunk by chunk; where
    // it cannot reserve, the copy simply goes on.
    if (size > 0)
        fallocate(copy.File().Get(), 0, 0, static_cast<off_t>(size));
    CopyOutcome outcome = CopyDataInChunks(source.Get(), copy.File().Get(), size, control);
    // A copy left to a later volume flush starts on its way to the disk now: the flush then waits on
    // little, and the disk writes while the next file is read.
    if (!control.sync && outcome == CopyOutcome::Copied)
        sync_file_range(copy.File().Get(), 0, 0, SYNC_FILE_RANGE_WRITE);
    source.Close();
    if (!copy.File().Close() && outcome == CopyOutcome::Copied)
        outcome = CopyOutcome::WriteFailed;
    if (outcome == CopyOutcome::Copied)
        outcome = PutInPlace(from, copy, size, control.sync);
    return outcome;
}

bool GetFreeSpace(const std::string& path, uint64_t& bytes) {
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0)
        return false;
    bytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
    return true;
}

namespace {

void SortByName(std::vector<DirectoryEntry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
}

bool Listed(Listing listing, std::string_view name, unsigned char type) {
    return listing != Listing::WithoutTemporaries || type == DT_DIR || !IsTemporaryName(name);
}

} // namespace

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries, Listing listing) {
    entries.clear();
    const bool complete = VisitNames(path, [&](std::string_view name, unsigned char type, int) {
        if (!Listed(listing, name, type))
            return;
        bool isDirectory = type == DT_DIR;
        if (type == DT_UNKNOWN || type == DT_LNK)
            isDirectory = GetStatus(path + "/" + std::string(name)).isDirectory;
        entries.push_back({std::string(name), isDirectory, {}});
    });
    SortByName(entries);
    return complete;
}

bool ListDirectoryWithStatus(const std::string& path, std::vector<DirectoryEntry>& entries, Listing listing) {
    entries.clear();
    const bool complete = VisitNames(path, [&](std::string_view name, unsigned char type, int folder) {
        if (!Listed(listing, name, type))
            return;
        DirectoryEntry entry{std::string(name), false, {}};
        struct stat info {};
        if (fstatat(folder, entry.name.c_str(), &info, 0) == 0)
            entry.status = StatusOf(info, name);
        entry.isDirectory = entry.status.isDirectory;
        entries.push_back(std::move(entry));
    });
    SortByName(entries);
    return complete;
}

bool IsTemporaryName(std::string_view name) {
    constexpr size_t kTail = kTemporaryInfix.size() + kTemporaryUniquePart.size();
    if (name.size() < 2 + kTail || !name.starts_with('.'))
        return false;
    const std::string_view tail = name.substr(name.size() - kTail);
    return tail.starts_with(kTemporaryInfix) &&
           std::all_of(tail.begin() + static_cast<ptrdiff_t>(kTemporaryInfix.size()), tail.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

FileDescriptor CreateTemporaryBeside(const std::string& target, std::string& temporaryPath) {
    const std::string pattern =
        ParentOf(target) + "/" + TemporaryPrefixOf(target) + std::string(kTemporaryUniquePart);
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        std::string path = pattern;
        FileDescriptor file(mkostemp(path.data(), O_CLOEXEC));
        if (!file.IsOpen())
            return file;
        // Where the filesystem has no locks the file goes unclaimed, and no cleaner can claim it either.
        if (flock(file.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue; // a cleaner got it first and removes it
        struct stat info {};
        if (fstat(file.Get(), &info) != 0 || info.st_nlink == 0)
            continue; // a cleaner removed it before the lock was taken
        temporaryPath = path;
        return file;
    }
    return FileDescriptor();
}

void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = ParentOf(target);
    std::vector<std::string> candidates;
    VisitNames(folder, [&](std::string_view name, unsigned char type, int) {
        if (type != DT_DIR && IsTemporaryName(name))
            candidates.push_back(folder + "/" + std::string(name));
    });
    for (const std::string& path : candidates)
        RemoveIfUnclaimed(path);
}

bool FollowLinks(const std::string& path, std::string& end) {
    end = path;
    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        std::error_code notALink;
        const std::filesystem::path next = std::filesystem::read_symlink(end, notALink);
        if (notALink)
            return true;
        // A relative link is read from its own folder, as the kernel reads it.
        end = next.is_absolute() ? next.string() : ParentOf(end) + "/" + next.string();
    }
    return false;
}

bool SyncDirectoryOf(const std::string& path) {
    const FileDescriptor folder(open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.IsOpen() && (fsync(folder.Get()) == 0 || errno == EINVAL);
}

bool ReadToEnd(int descriptor, std::string& bytes, size_t limit) {
    char buffer[1 << 16];
    for (size_t added = 0;;) {
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        added += static_cast<size_t>(got);
        if (added > limit)
            return false;
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = write(descriptor, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

} // namespace nativefiles
