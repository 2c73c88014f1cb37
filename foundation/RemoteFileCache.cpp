#include "foundation/RemoteFileCache.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/PayloadSink.h"
#include "foundation/RecordIO.h"
#include "foundation/RemotePeer.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>
#include <array>

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

// u64 modification time, u32 more parts, u32 length: the head of a fetched part.
constexpr size_t kPartHeadSize = 16;
// The data of a fetched part goes to the disk in writes of this size.
constexpr size_t kFetchWriteSize = 1 << 20;

// Whether a known path names the asked one: the same host in any case, and the same path there, in
// any case only where the host said that the file's volume ignores it. A file system that keeps case
// apart (every Linux one but FAT) holds "Song.mp3" and "song.mp3" as two files.
bool SameRemoteFile(const AString& known, const FileInfo& info, const AString& asked) {
    const int knownColon = known.Find(u':');
    if (knownColon != asked.Find(u':') || known.Left(knownColon + 1).CompareNoCase(asked.Left(knownColon + 1)) != 0)
        return false;
    const AString knownPath = known.Mid(knownColon + 1);
    const AString askedPath = asked.Mid(knownColon + 1);
    if (knownPath == askedPath)
        return true;
    return (info.reserved & RemoteFileCache::kCaseFoldingVolume) != 0 && knownPath.CompareNoCase(askedPath) == 0;
}

// One part of a fetched file, taken as it arrives: its head, checked before any of its data is taken,
// then its data, written into the new file at the part's place. The head's length must be what the
// payload holds, every part but the last must be whole (a short one would leave a hole in the file,
// and an empty one could be asked for without end), and the file may grow no larger than its host
// said.
class FetchedPartSink : public PayloadSink {
public:
    FetchedPartSink(AReplacingFile& file, uint32_t part, uint64_t fileSize)
        : m_file(file), m_offset(uint64_t(part) * RemoteFileCache::kFetchPartSize), m_fileSize(fileSize) {}

    void Begin(size_t total) override { m_total = total; }

    int Append(std::span<const uint8_t> bytes) override {
        if (m_headSize < kPartHeadSize) {
            const size_t taken = std::min(bytes.size(), kPartHeadSize - m_headSize);
            std::copy_n(bytes.begin(), taken, m_head.begin() + m_headSize);
            m_headSize += taken;
            bytes = bytes.subspan(taken);
            if (m_headSize < kPartHeadSize)
                return 0;
            if (const int result = TakeHead())
                return result;
        }
        if (bytes.size() > m_length - m_received)
            return kErrorInconsistentSize;
        m_received += static_cast<uint32_t>(bytes.size());
        m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
        return m_pending.size() >= kFetchWriteSize ? WritePending() : 0;
    }

    // Once the payload came whole: 0 when it held the whole part, and its data is in the file.
    int Finish() {
        if (m_headSize < kPartHeadSize || m_received != m_length)
            return kErrorInconsistentSize;
        return WritePending();
    }

    uint64_t ModTime() const { return LoadLE64(m_head.data()); }
    bool MoreParts() const { return m_more; }
    // Where the file ends after this part.
    uint64_t End() const { return m_offset + m_length; }

private:
    int TakeHead() {
        m_more = LoadLE32(m_head.data() + 8) != 0;
        m_length = LoadLE32(m_head.data() + 12);
        const uint64_t end = m_offset + m_length;
        if (m_total != kPartHeadSize + m_length || m_length > RemoteFileCache::kFetchPartSize ||
            (m_more && m_length != RemoteFileCache::kFetchPartSize) || end > m_fileSize ||
            (m_more && end >= m_fileSize))
            return kErrorInconsistentSize;
        m_pending.reserve(std::min<size_t>(m_length, kFetchWriteSize));
        return m_file.Seek(m_offset);
    }

    int WritePending() {
        const int result = m_file.Write(m_pending.data(), static_cast<uint32_t>(m_pending.size()));
        m_pending.clear();
        return result;
    }

    AReplacingFile& m_file;
    uint64_t m_offset;
    uint64_t m_fileSize;
    size_t m_total = 0;
    std::array<uint8_t, kPartHeadSize> m_head{};
    size_t m_headSize = 0;
    bool m_more = false;
    uint32_t m_length = 0;
    uint32_t m_received = 0;
    std::vector<uint8_t> m_pending;
};

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
    const auto end = FirstAfter(path);
    for (auto entry = FirstNotBefore(path); entry != end; ++entry) {
        if (SameRemoteFile(entry->path, entry->info, path))
            return static_cast<int>(entry - m_entries.begin());
    }
    return -1;
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
    const auto last = FirstAfter(path);
    const auto kept = std::remove_if(FirstNotBefore(path), last, [&path](const Entry& entry) {
        return SameRemoteFile(entry.path, entry.info, path);
    });
    m_entries.erase(kept, last);
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
                                            AProgress* progress, const CancelCallback& cancel) {
    const int result = SendFile(source, target, force, progress, cancel);
    if (result != 0)
        LogCommunicationError(progress, "CopyWithProgressRemote");
    return result;
}

int RemoteFileCache::SendFile(const AString& source, const AString& target, bool force, AProgress* progress,
                              const CancelCallback& cancel) {
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
                             kTransferTimeoutSeconds, cancel);
}

int RemoteFileCache::MoveRemoteFileLocal(const AString& source, const AString& target, AProgress* progress,
                                         const CancelCallback& cancel) {
    const int result = FetchFile(source, target, progress, cancel);
    if (result != 0)
        LogCommunicationError(progress, "MoveRemoteFileLocal");
    return result;
}

// The size the host gives in its file information bounds the fetch: a server that kept answering
// "more" would otherwise fill the disk.
int RemoteFileCache::FetchFile(const AString& source, const AString& target, AProgress* progress,
                               const CancelCallback& cancel) {
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
    uint64_t modTime = 0;
    uint64_t fetchedSize = 0;
    for (uint32_t part = 0;; ++part) {
        RemotePeer* peer = GetPeer();
        if (!peer)
            return kErrorNotConnected;
        AMemFile payload;
        int result = remotePath.Serialize(payload);
        if (result == 0)
            result = recordio::WriteU32(payload, part);
        FetchedPartSink sink(file, part, info.size);
        if (result == 0)
            result = peer->RequestOnceInto(host, kRequestFetchFile, payload, sink, progress,
                                           RemotePeer::kProgressReceiving, kTransferTimeoutSeconds, cancel);
        if (result == 0)
            result = sink.Finish();
        if (result != 0)
            return result;
        modTime = sink.ModTime();
        fetchedSize = sink.End();
        if (!sink.MoreParts())
            break;
    }
    if (fetchedSize != info.size)
        return kErrorInconsistentSize;
    if (const int result = file.Commit())
        return result;
    return SetFileModTime(target, modTime, true);
}
