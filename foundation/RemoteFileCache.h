#pragma once
// The process-wide cache of what the server programs of other computers said about their files, and
// the two transfers of whole files to and from them.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "foundation/FileInfo.h"

#include <mutex>
#include <vector>

class AProgress;
class RemotePeer;

class RemoteFileCache {
public:
    static constexpr int kRequestFileInfo = 3001;
    static constexpr int kRequestSendFile = 3002;
    static constexpr int kRequestFetchFile = 3003;
    static constexpr uint32_t kFetchPartSize = 314572800;
    // The send request carries the length in 32 bits; larger files are refused before anything is sent.
    static constexpr uint64_t kMaxSendSize = 1000000000;
    // The word a server puts in a file's information (FileInfo::reserved) when the file lies on a
    // volume that ignores the case of names (FAT). Other paths are one file only in the same case.
    static constexpr uint32_t kCaseFoldingVolume = 1;

    static RemoteFileCache& Instance();

    void SetPeer(RemotePeer* peer);
    RemotePeer* GetPeer() const;

    // Index of the path's entry, or -1. Host names ignore case; the path on the host is compared as
    // the host's file system compares it (see kCaseFoldingVolume).
    int Find(const AString& path, FileInfo* info);
    void Add(const AString& path, const FileInfo& info, bool sorted);
    // Asks the path's host when the cache does not know it; `info` is all zeros when nothing is known.
    void GetFileInfo(const AString& path, FileInfo& info);
    void Clear();
    // Forgets what the path's host said of it (every entry Find could answer with), so that the next
    // question asks again: for a file that was just written or deleted there.
    void Remove(const AString& path);

    // The transfers: `cancel` is asked while they wait, and ends them at once with 123456.
    int CopyWithProgressRemote(const AString& source, const AString& target, bool force, AProgress* progress,
                               const CancelCallback& cancel = CancelCallback());
    // The file is written beside the target as its parts arrive and replaces it once all are whole.
    int MoveRemoteFileLocal(const AString& source, const AString& target, AProgress* progress,
                            const CancelCallback& cancel = CancelCallback());

    // "?" + host (two characters at least) + ":" + path.
    static bool SplitRemotePath(const AString& path, AString& host, AString& remotePath);

private:
    struct Entry {
        AString path;
        FileInfo info;
    };

    void SortLocked();
    // Bounds of the entries that spell the path in any case, in the list sorted without case.
    std::vector<Entry>::iterator FirstNotBefore(const AString& path);
    std::vector<Entry>::iterator FirstAfter(const AString& path);
    int FindLocked(const AString& path);
    bool AskHost(const AString& path, FileInfo& info);
    int SendFile(const AString& source, const AString& target, bool force, AProgress* progress,
                 const CancelCallback& cancel);
    int FetchFile(const AString& source, const AString& target, AProgress* progress, const CancelCallback& cancel);

    mutable std::mutex m_lock;
    std::vector<Entry> m_entries;
    bool m_sorted = true;
    RemotePeer* m_peer = nullptr;
};
