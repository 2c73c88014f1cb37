#pragma once
// The process-wide cache of what the server programs of other computers said about their files, and
// the two transfers of whole files to and from them.

#include "foundation/AString.h"
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

    static RemoteFileCache& Instance();

    void SetPeer(RemotePeer* peer);
    RemotePeer* GetPeer() const;

    // Index of the path's entry (case-insensitive), or -1.
    int Find(const AString& path, FileInfo* info);
    void Add(const AString& path, const FileInfo& info, bool sorted);
    // Asks the path's host when the cache does not know it; `info` is all zeros when nothing is known.
    void GetFileInfo(const AString& path, FileInfo& info);
    void Clear();
    // Forgets what the path's host said of it (case-insensitive), so that the next question asks again:
    // for a file that was just written or deleted there.
    void Remove(const AString& path);

    int CopyWithProgressRemote(const AString& source, const AString& target, bool force, AProgress* progress);
    int MoveRemoteFileLocal(const AString& source, const AString& target, AProgress* progress);

    // "?" + host (two characters at least) + ":" + path.
    static bool SplitRemotePath(const AString& path, AString& host, AString& remotePath);

private:
    struct Entry {
        AString path;
        FileInfo info;
    };

    void SortLocked();
    // Bounds of a path's entries in the sorted list.
    std::vector<Entry>::iterator FirstNotBefore(const AString& path);
    std::vector<Entry>::iterator FirstAfter(const AString& path);
    int FindLocked(const AString& path);
    bool AskHost(const AString& path, FileInfo& info);
    int SendFile(const AString& source, const AString& target, bool force, AProgress* progress);
    int FetchFile(const AString& source, const AString& target, AProgress* progress);
    int FetchPart(const AString& host, const AString& remotePath, uint32_t part, AProgress* progress,
                  std::vector<uint8_t>& answer);

    mutable std::mutex m_lock;
    std::vector<Entry> m_entries;
    bool m_sorted = true;
    RemotePeer* m_peer = nullptr;
};
