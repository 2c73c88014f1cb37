#include "foundation/CopyWithProgress.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "platform/files/NativeFiles.h"

#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

namespace {

int ResultOf(nativefiles::CopyOutcome outcome) {
    switch (outcome) {
    case nativefiles::CopyOutcome::Copied:
        return 0;
    case nativefiles::CopyOutcome::Stopped:
        return kUserCancel;
    case nativefiles::CopyOutcome::SourceOpenFailed:
    case nativefiles::CopyOutcome::TargetOpenFailed:
        return kErrorOpen;
    case nativefiles::CopyOutcome::ReadFailed:
        return kErrorRead;
    case nativefiles::CopyOutcome::SourceShort:
        return kErrorEndOfStream;
    case nativefiles::CopyOutcome::TimesFailed:
        return kErrorSetFileTimes;
    case nativefiles::CopyOutcome::WriteFailed:
        break;
    }
    return kErrorWrite;
}

int CopyReplacing(const AString& source, const AString& target, uint64_t size, const CancelCallback& cancel,
                  AProgress* progress, bool force, bool sync) {
    const std::string to = target.ToSystem8Bit();
    if (nativefiles::SameFile(source.ToSystem8Bit(), to))
        return 0;
    const nativefiles::PathStatus targetStatus = nativefiles::GetStatus(to);
    if (targetStatus.isDirectory || (targetStatus.isReadOnly && !force))
        return kErrorOpen;
    nativefiles::CopyControl control;
    control.sync = sync;
    control.shouldStop = [&cancel] { return cancel && cancel() != 0; };
    const bool chunked = size >= kChunkedCopyThreshold;
    if (chunked) {
        control.chunkSize = kCopyChunkSize;
        control.onProgress = [progress, size](uint64_t done) {
            if (progress)
                progress->SetPos(static_cast<double>(done) / static_cast<double>(size));
        };
    }
    if (progress && chunked)
        progress->PushRange(1.0);
    const nativefiles::CopyOutcome outcome =
        nativefiles::CopyFileReplacing(source.ToSystem8Bit(), to, control);
    if (progress && chunked)
        progress->PopRange();
    return ResultOf(outcome);
}

} // namespace

int CopyWithProgress(const AString& source, const AString& target, const CancelCallback& cancel,
                     AProgress* progress, bool force, CopyDurability durability) {
    const bool remoteSource = IsRemotePath(source);
    const bool remoteTarget = IsRemotePath(target);
    if (!remoteSource && remoteTarget)
        return RemoteFileCache::Instance().CopyWithProgressRemote(source, target, force, progress, cancel);
    if (remoteSource && !remoteTarget)
        return RemoteFileCache::Instance().MoveRemoteFileLocal(source, target, progress, cancel);
    if (remoteSource)
        return kErrorNotSupported;
    if (const int result = CheckRoomForCopy(source, target))
        return result;
    const uint64_t size = GetFileSize64(source);
    const bool syncNow =
        durability == CopyDurability::SyncedNow || nativefiles::GetStatus(target.ToSystem8Bit()).exists;
    const int result = size < kChunkedCopyThreshold && syncNow
                           ? CopyFileLong(source, target, force)
                           : CopyReplacing(source, target, size, cancel, progress, force, syncNow);
    if (result != 0)
        return result;
    return FilesMatch(source, target) ? 0 : kErrorUnableToVerify;
}

// The volume flush (syncfs) writes the data and folder entries of every copy of a run in one pass; a
// sync of each file would force the filesystem's metadata out once for every file.
int FlushVolume(const AString& path) {
    const int folder = open(path.ToSystem8Bit().c_str(), O_RDONLY | O_CLOEXEC);
    if (folder < 0)
        return kErrorWrite;
    const bool flushed = syncfs(folder) == 0;
    close(folder);
    return flushed ? 0 : kErrorWrite;
}
