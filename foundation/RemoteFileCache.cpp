#include "foundation/RemoteFileCache.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "foundation/RemotePeer.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>

namespace {

constexpr int kInfoTimeoutSeconds = 30;
constexpr int kTransferTimeoutSeconds = 60;

bool PathLess(const AString& a, const AString& b) {
    return a.CompareNoCase(b) < 0;
}

AString FileNameOf(const AString& path) {
    const int slash = path.ReverseFind(kPathSeparator);
    return slash < 0 ? path : path.Mid(slash + 1);
}

void LogCommunicationError(AProgress* progress, const char* operation) {
    if (!progress)
        return;
    progress->Log(AString("Communication Error: ") + operation + "\r\n", true);
}

struct FetchedPart {
    uint64_t modTime = 0;
    uint32_t moreParts = 0;
    uint32_t length = 0;
    const uint8_t* data = nullptr;
};

// The length in the answer must match the data that came, and every part but the last must be whole:
// a short one would leave a hole in the file, and an empty one could be asked for without end.
int ReadFetchedPart(const std::vector<uint8_t>& answer, FetchedPart& part) {
    AMemFile reader(answer.data(), static_cast<uint32_t>(answer.size()));
    if (recordio::ReadU64(reader, part.modTime) != 0 || recordio::ReadU32(reader, part.moreParts) != 0 ||
        recordio::ReadU32(reader, part.length) != 0 || reader.ReadInPlace(&part.data, part.length) != 0)
        return kErrorInconsistentSize;
    if (part.length > RemoteFileCache::kFetchPartSize ||
        (part.moreParts != 0 && part.length != RemoteFileCache::kFetchPartSize))
        return kErrorInconsistentSize;
    return 0;
}

} // namespace

RemoteFileCache& RemoteFileCache::Instance() {
    static RemoteFileCache instance;
    return instance;
}

void RemoteFileCache::SetPeer(RemotePeer* peer) {
    std::lock_guard lock(m_lock);
    m_peer = peer;
}

RemotePeer* RemoteFileCache::GetPeer() const {
    std::lock_guard lock(m_lock);
    return m_peer;
}

bool RemoteFileCache::SplitRemotePath(const AString& path, AString& host, AString& remotePath) {
    if (!IsRemotePath(path))
        return false;
    const int colon = path.Find(u':');
    if (colon < 3)
        return false;
    host = path.Mid(1, colon - 1);
    remotePath = path.Mid(colon + 1);
    return true;
}

void RemoteFileCache::SortLocked() {
    if (m_sorted)
        return;
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return PathLess(a.path, b.path); });
    m_sorted = true;
}

std::vector<RemoteFileCache::Entry>::iterator RemoteFileCache::FirstNotBefore(const AString& path) {
    return std::lower_bound(m_entries.begin(), m_entries.end(), path,
                            [](const Entry& entry, const AString& key) { return PathLess(entry.path, key); });
}

std::vector<RemoteFileCache::Entry>::iterator RemoteFileCache::FirstAfter(const AString& path) {
    return std::upper_bound(m_entries.begin(), m_entries.end(), path,
                            [](const AString& key, const Entry& entry) { return PathLess(key, entry.path); });
}

int RemoteFileCache::FindLocked(const AString& path) {
    SortLocked();
    const auto found = FirstNotBefore(path);
    if (found == m_entries.end() || found->path.CompareNoCase(path) != 0)
        return -1;
    return static_cast<int>(found - m_entries.begin());
}

int RemoteFileCache::Find(const AString& path, FileInfo* info) {
    std::lock_guard lock(m_lock);
    const int index = FindLocked(path);
    if (index >= 0 && info)
        *info = m_entries[index].info;
    return index;
}

void RemoteFileCache::Add(const AString& path, const FileInfo& info, bool sorted) {
    std::lock_guard lock(m_lock);
    if (!sorted || !m_sorted) {
        m_entries.push_back({path, info});
        m_sorted = false;
        return;
    }
    const auto place = FirstAfter(path);
    m_entries.insert(place, {path, info});
}

void RemoteFileCache::Clear() {
    std::lock_guard lock(m_lock);
    m_entries.clear();
    m_sorted = true;
}

void RemoteFileCache::Remove(const AString& path) {
    std::lock_guard lock(m_lock);
    SortLocked();
    const auto first = FirstNotBefore(path);
    const auto last = FirstAfter(path);
    m_entries.erase(first, last);
}

void RemoteFileCache::GetFileInfo(const AString& path, FileInfo& info) {
    info = FileInfo();
    if (Find(path, &info) >= 0)
        return;
    FileInfo asked;
    if (AskHost(path, asked)) {
        info = asked;
        Add(path, asked, true);
    }
}

bool RemoteFileCache::AskHost(const AString& path, FileInfo& info) {
    RemotePeer* peer = GetPeer();
    AString host;
    AString remotePath;
    if (!peer || !SplitRemotePath(path, host, remotePath))
        return false;
    AMemFile payload;
    if (remotePath.Serialize(payload) != 0)
        return false;
    std::vector<uint8_t> answer;
    if (peer->RequestOnce(host, kRequestFileInfo, payload, answer, nullptr, RemotePeer::kProgressBoth,
                          kInfoTimeoutSeconds) != 0)
        return false;
    AMemFile reader(answer.data(), static_cast<uint32_t>(answer.size()));
    return info.Load(reader) == 0;
}

int RemoteFileCache::CopyWithProgressRemote(const AString& source, const AString& target, bool force,
                                            AProgress* progress) {
    const int result = SendFile(source, target, force, progress);
    if (result != 0)
        LogCommunicationError(progress, "CopyWithProgressRemote");
    return result;
}

int RemoteFileCache::SendFile(const AString& source, const AString& target, bool force, AProgress* progress) {
    AString host;
    AString remotePath;
    if (!SplitRemotePath(target, host, remotePath))
        return kErrorEndOfStream;
    RemotePeer* peer = GetPeer();
    if (!peer)
        return kErrorNotConnected;
    AFile file;
    if (const int result = file.Open(source, AFile::kModeRead, false))
        return result;
    const uint64_t length = file.GetLength();
    if (length >= kMaxSendSize)
        return kErrorNotSupported;
    AMemFile payload(AMemFile::kDefaultGrowth);
    uint8_t* body = nullptr;
    int result = recordio::WriteU32(payload, force ? 1 : 0);
    if (result == 0)
        result = recordio::WriteU64(payload, GetFileModTime(source));
    if (result == 0)
        result = FileNameOf(source).Serialize(payload);
    if (result == 0)
        result = remotePath.Serialize(payload);
    if (result == 0)
        result = recordio::WriteU32(payload, static_cast<uint32_t>(length));
    if (result == 0)
        result = payload.Reserve(&body, static_cast<uint32_t>(length));
    if (result == 0)
        result = file.Read(body, static_cast<uint32_t>(length));
    file.Close(false);
    if (result != 0)
        return result;
    std::vector<uint8_t> answer;
    return peer->RequestOnce(host, kRequestSendFile, payload, answer, progress, RemotePeer::kProgressSending,
                             kTransferTimeoutSeconds);
}

int RemoteFileCache::MoveRemoteFileLocal(const AString& source, const AString& target, AProgress* progress) {
    const int result = FetchFile(source, target, progress);
    if (result != 0)
        LogCommunicationError(progress, "MoveRemoteFileLocal");
    return result;
}

int RemoteFileCache::FetchPart(const AString& host, const AString& remotePath, uint32_t part,
                               AProgress* progress, std::vector<uint8_t>& answer) {
    RemotePeer* peer = GetPeer();
    if (!peer)
        return kErrorNotConnected;
    AMemFile payload;
    int result = remotePath.Serialize(payload);
    if (result == 0)
        result = recordio::WriteU32(payload, part);
    if (result != 0)
        return result;
    return peer->RequestOnce(host, kRequestFetchFile, payload, answer, progress,
                             RemotePeer::kProgressReceiving, kTransferTimeoutSeconds);
}

// The size the host gives in its file information bounds the fetch: a server that kept answering
// "more" would otherwise fill the disk.
int RemoteFileCache::FetchFile(const AString& source, const AString& target, AProgress* progress) {
    AString host;
    AString remotePath;
    if (!SplitRemotePath(source, host, remotePath))
        return kErrorEndOfStream;
    if (!GetPeer())
        return kErrorNotConnected;
    FileInfo info;
    GetFileInfo(source, info);
    if (info.exists == 0 || info.isDirectory != 0)
        return kErrorFileNotFound;
    // The parts go into a new file beside the target, which is replaced only when all have come.
    AReplacingFile file;
    if (const int result = file.Begin(target, true))
        return result;
    FetchedPart fetched;
    fetched.moreParts = 1;
    uint64_t fetchedSize = 0;
    for (uint32_t part = 0; fetched.moreParts != 0; ++part) {
        std::vector<uint8_t> answer;
        if (const int result = FetchPart(host, remotePath, part, progress, answer))
            return result;
        if (const int result = ReadFetchedPart(answer, fetched))
            return result;
        fetchedSize = uint64_t(part) * kFetchPartSize + fetched.length;
        if (fetchedSize > info.size || (fetched.moreParts != 0 && fetchedSize >= info.size))
            return kErrorInconsistentSize;
        if (const int result = file.Seek(uint64_t(part) * kFetchPartSize))
            return result;
        if (const int result = file.Write(fetched.data, fetched.length))
            return result;
    }
    if (fetchedSize != info.size)
        return kErrorInconsistentSize;
    if (const int result = file.Commit())
        return result;
    return SetFileModTime(target, fetched.modTime, true);
}
