#include "remote/ADirTunesRemote.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "foundation/RemoteFileCache.h"
#include "foundation/RemotePeer.h"
#include "library/itunes/LibraryPlayListName.h"
#include "platform/files/PathSeparator.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/LinkCodes.h"
#include "remote/PlayDataFlags.h"
#include "remote/RemoteSongList.h"

#include <atomic>

namespace {

// The link's longest silence: the server may work a long while before it answers.
constexpr int kLinkSilenceLimit = -1;
constexpr int kSessionTimeout = 60;
constexpr int kEndSessionTimeout = 120;
constexpr int kEndSessionAfterStallTimeout = 5;
constexpr int kPlayListsTimeout = 30;
constexpr int kChangeTimeout = 60;
constexpr uint32_t kPackAnswers = 1;
constexpr uint32_t kHasData = 1;
// The send request carries the length in 32 bits, and no message may reach 1,000,000,000 bytes.
constexpr uint64_t kMaxSentFile = RemoteFileCache::kMaxSendSize;

std::atomic<ADirTunesRemote*> g_mainList{nullptr};
// Two lists never fetch playlists at the same time.
std::mutex g_playListFetch;

// The part of a remote path after its first ':' (the whole path without one).
AString PathOnServer(const AString& path) {
    const int colon = path.Find(u':');
    return colon < 0 ? path : path.Mid(colon + 1);
}

bool SameFileInfo(const FileInfo& a, const FileInfo& b) {
    return a.exists == b.exists && a.isDirectory == b.isDirectory && a.size == b.size && a.modTime == b.modTime;
}

// A request that met a server gone silent, or a cancel: sending it again would only wait again.
bool StalledLink(int result) {
    return result == kErrorRemoteSilent || result == kUserCancel;
}

AString FileNameOf(const AString& path) {
    return path.Mid(path.ReverseFind(kPathSeparator) + 1);
}

// Writes a session request's payload: the session id, then the fields.
class SessionPayload {
public:
    explicit SessionPayload(uint32_t sessionID) : m_stream(AMemFile::kDefaultGrowth) { U32(sessionID); }
    SessionPayload& U32(uint32_t value) {
        Keep(recordio::WriteU32(m_stream, value));
        return *this;
    }
    SessionPayload& U64(uint64_t value) {
        Keep(recordio::WriteU64(m_stream, value));
        return *this;
    }
    SessionPayload& U8(uint32_t value) {
        const uint8_t byte = value != 0 ? 1 : 0;
        Keep(m_stream.Write(&byte, 1));
        return *this;
    }
    SessionPayload& Text(const AString& text) {
        Keep(text.Serialize(m_stream));
        return *this;
    }
    // 0, or the first failure of a write.
    int Result() const { return m_result; }
    AMemFile& Stream() { return m_stream; }

private:
    void Keep(int result) {
        if (m_result == 0)
            m_result = result;
    }

    AMemFile m_stream;
    int m_result = 0;
};

} // namespace

ADirTunesRemote::ADirTunesRemote(AProgress* progress) : ADirTunes(progress) {
    m_rootPath = kRootMarker;
}

ADirTunesRemote::~ADirTunesRemote() {
    ADirTunesRemote* self = this;
    g_mainList.compare_exchange_strong(self, nullptr);
    FreeListCache();
    EndSession();
}

void ADirTunesRemote::SetMainList(ADirTunesRemote* list) {
    g_mainList = list;
}

// ---- Requests ----

int ADirTunesRemote::Exchange(int code, const AMemFile& payload, std::vector<uint8_t>& answer,
                              int timeoutSeconds, bool retry, const CancelCallback& cancel, AProgress* progress,
                              int progressFlags) {
    answer.clear();
    if (!m_link)
        return kErrorEndOfStream;
    const AString host(m_serverAddress);
    int result =
        m_link->RequestOnce(host, code, payload, answer, progress, progressFlags, timeoutSeconds, cancel);
    if (result != 0 && retry && !StalledLink(result))
        result = m_link->RequestOnce(host, code, payload, answer, progress, progressFlags, timeoutSeconds, cancel);
    if (StalledLink(result))
        m_linkStalled = true;
    return result;
}

AProgress& ADirTunesRemote::LinkProgress() const {
    return m_linkProgress ? *m_linkProgress : GetProgress();
}

void ADirTunesRemote::LogFailure(const char* operation) const {
    LinkProgress().Log(AString("Communication Error: ") + operation + "\r\n", true);
}

int ADirTunesRemote::StartSession() {
    AMemFile payload(AMemFile::kDefaultGrowth);
    int result = recordio::WriteU32(payload, kPackAnswers);
    if (result == 0)
        result = Save(payload, 0);
    std::vector<uint8_t> answer;
    if (result == 0)
        result = Exchange(linkcodes::kStartSession, payload, answer, kSessionTimeout, true);
    if (result == 0) {
        AMemFile reader(answer.data(), static_cast<uint32_t>(answer.size()));
        uint32_t sessionID = 0;
        result = recordio::ReadU32(reader, sessionID);
        if (result == 0)
            result = recordio::ReadU32(reader, m_secondHandle);
        if (result == 0)
            m_sessionID = sessionID;
    }
    if (result != 0)
        LogFailure("Start Session");
    return result;
}

int ADirTunesRemote::EndSession() {
    if (m_sessionID == 0)
        return kErrorEndOfStream;
    SessionPayload payload(m_sessionID);
    m_sessionID = 0;
    std::vector<uint8_t> answer;
    const int timeout = m_linkStalled ? kEndSessionAfterStallTimeout : kEndSessionTimeout;
    const int result = Exchange(linkcodes::kEndSession, payload.Stream(), answer, timeout, false);
    if (result != 0)
        LogFailure("End Session");
    return result;
}

int ADirTunesRemote::GetRemotePlayLists() {
    std::lock_guard fetch(g_playListFetch);
    std::lock_guard lock(m_cacheLock);
    std::vector<uint8_t> answer;
    const int result =
        Exchange(linkcodes::kGetRemotePlayLists, AMemFile(), answer, kPlayListsTimeout, true);
    if (result != 0) {
        m_playLists = std::vector<RemotePlayList>{{GetLibraryPlayListName(), RemotePlayList::kUser}};
        return result;
    }
    auto playLists = RemotePlayLists::Read(answer);
    if (!playLists || playLists->empty()) {
        m_playLists = std::vector<RemotePlayList>();
        return kErrorEndOfStream;
    }
    // The first is the server's library playlist.
    playLists->erase(playLists->begin());
    m_playLists = std::move(*playLists);
    return 0;
}

void ADirTunesRemote::FreeListCache() {
    std::lock_guard lock(m_cacheLock);
    m_playLists.reset();
}

int ADirTunesRemote::GetListCount() {
    {
        std::lock_guard lock(m_cacheLock);
        if (m_playLists)
            return static_cast<int>(m_playLists->size());
    }
    GetRemotePlayLists();
    std::lock_guard lock(m_cacheLock);
    return m_playLists ? static_cast<int>(m_playLists->size()) : 0;
}

uint32_t ADirTunesRemote::GetListEntry(int index, AString& name) {
    const int count = GetListCount();
    std::lock_guard lock(m_cacheLock);
    if (index < 0 || index >= count || !m_playLists || index >= static_cast<int>(m_playLists->size())) {
        name = AString();
        return RemotePlayList::kOther;
    }
    name = (*m_playLists)[index].name;
    return (*m_playLists)[index].kind;
}

bool ADirTunesRemote::ShareMainPlayLists() {
    ADirTunesRemote* main = g_mainList.load();
    if (!main || main == this || main->m_serverAddress != m_serverAddress)
        return false;
    std::scoped_lock both(m_cacheLock, main->m_cacheLock);
    if (!main->m_playLists)
        return false;
    m_playLists = main->m_playLists;
    return true;
}

int ADirTunesRemote::Connect() {
    const int result = StartSession();
    if (result != 0)
        return result;
    if (!ShareMainPlayLists())
        GetRemotePlayLists();
    return 0;
}

int ADirTunesRemote::Disconnect() {
    return EndSession();
}

int ADirTunesRemote::AddSongFromDisk(const AString& path, const AString* key, const CancelCallback& cancel) {
    SessionPayload payload(m_sessionID);
    payload.Text(PathOnServer(path));
    if (key)
        payload.Text(*key);
    std::vector<uint8_t> answer;
    int result = payload.Result();
    if (result == 0)
        result = Exchange(linkcodes::kAddSongFromDisk, payload.Stream(), answer, kLinkSilenceLimit, false, cancel);
    if (result != 0)
        LogFailure("AddSongFromDisk");
    return result;
}

int ADirTunesRemote::DeleteRemoteFile(const AString& path, uint32_t, uint32_t) {
    SessionPayload payload(m_sessionID);
    payload.Text(PathOnServer(path));
    if (payload.Result() != 0)
        return payload.Result();
    std::vector<uint8_t> answer;
    const int result = Exchange(linkcodes::kDeleteRemoteFile, payload.Stream(), answer, kChangeTimeout, false);
    if (result == 0)
        RemoteFileCache::Instance().Remove(path);
    return result;
}

int ADirTunesRemote::CreateRemotePlayList(const AString& name) {
    AMemFile payload(AMemFile::kDefaultGrowth);
    int result = name.Serialize(payload);
    std::vector<uint8_t> answer;
    if (result == 0)
        result = Exchange(linkcodes::kCreateRemotePlayList, payload, answer, kChangeTimeout, false);
    if (result != 0)
        LogFailure("CreateRemotePlayList");
    return result;
}

int ADirTunesRemote::DeleteRemotePlayList(const AString& name) {
    AMemFile payload(AMemFile::kDefaultGrowth);
    if (const int result = name.Serialize(payload))
        return result;
    std::vector<uint8_t> answer;
    return Exchange(linkcodes::kDeleteRemotePlayList, payload, answer, kChangeTimeout, false);
}

int ADirTunesRemote::AddITunesReadyFile(const AString& localPath, AString& placedPath, const AString& targetText,
                                        uint32_t& added, const CancelCallback& cancel) {
    added = 0;
    AFile file;
    int result = file.Open(localPath, AFile::kModeRead, true);
    const uint64_t length = result == 0 ? file.GetLength() : 0;
    if (result == 0 && length >= kMaxSentFile)
        result = kErrorNotSupported;
    SessionPayload payload(m_sessionID);
    if (result == 0) {
        payload.Text(FileNameOf(localPath))
            .Text(targetText)
            .U32(kHasData)
            .U64(GetFileModTime(localPath))
            .U32(static_cast<uint32_t>(length));
        result = payload.Result();
    }
    uint8_t* body = nullptr;
    if (result == 0)
        result = payload.Stream().Reserve(&body, static_cast<uint32_t>(length));
    if (result == 0)
        result = file.Read(body, static_cast<uint32_t>(length));
    file.Close(false);
    std::vector<uint8_t> answer;
    if (result == 0)
        result = Exchange(linkcodes::kAddITunesReadyFile, payload.Stream(), answer, kLinkSilenceLimit, true, cancel,
                          &LinkProgress(), RemotePeer::kProgressSending);
    uint32_t word = 0;
    AString placed;
    if (result == 0) {
        AMemFile reader(answer.data(), static_cast<uint32_t>(answer.size()));
        result = recordio::ReadU32(reader, word);
        if (result == 0)
            result = placed.Load(reader);
    }
    if (result != 0) {
        LinkProgress().Log(AString("\r\nCommunication Error: AddITunesReadyFile") + AString::FromInt(result) + "\r\n",
                           true);
        return result;
    }
    added = word != 0 ? 1 : 0;
    placedPath = RemotePathPrefix() + placed;
    return 0;
}

// ---- The song list ----

AString ADirTunesRemote::RemotePathPrefix() const {
    return AString("?") + AString(m_serverAddress) + ":";
}

bool ADirTunesRemote::IsOwnRemotePath(const AString& path) const {
    const AString prefix = RemotePathPrefix();
    return path.GetLength() > prefix.GetLength() && path.Left(prefix.GetLength()) == prefix;
}

int ADirTunesRemote::Open(const AString* root, uint32_t flag, const CancelCallback& callback) {
    if (root)
        SetRootPath(*root);
    Clear();
    return ReadSongList(root ? *root : AString(), flag, callback);
}

int ADirTunesRemote::ReadDirectory(const CancelCallback& callback, uint32_t flag) {
    Clear();
    return ReadSongList(AString(), flag, callback);
}

int ADirTunesRemote::ReadSongList(const AString& root, uint32_t flag, const CancelCallback& cancel) {
    SessionPayload payload(m_sessionID);
    payload.U8(flag).U8(flag).Text(root);
    std::vector<uint8_t> answer;
    std::vector<RemoteSong> songs;
    int result = payload.Result();
    if (result == 0)
        result = Exchange(linkcodes::kInitWPath, payload.Stream(), answer, kLinkSilenceLimit, true, cancel);
    if (result == 0)
        result = RemoteSongList::Read(answer, songs);
    if (result == 0)
        result = TakeSongList(songs);
    if (result != 0)
        LogFailure("InitWPath");
    return result;
}

// The songs are checked whole before any is taken: each must name its own place in the answer and a
// file of this server.
int ADirTunesRemote::TakeSongList(std::vector<RemoteSong>& songs) {
    for (size_t i = 0; i < songs.size(); ++i) {
        songs[i].entry.Replace(u'/', u'\\');
        if (static_cast<size_t>(IndexOfEntry(songs[i].entry)) != i || !IsOwnRemotePath(songs[i].path))
            return kErrorEndOfStream;
    }
    RemoteFileCache& cache = RemoteFileCache::Instance();
    // The answer is what the server says now: what the cache kept of an earlier answer may be stale,
    // and then nothing it kept is trusted. Asked before any song is added, so the cache sorts itself
    // once, not once per song.
    std::vector<bool> known(songs.size());
    for (size_t i = 0; i < songs.size(); ++i) {
        FileInfo cached;
        known[i] = cache.Find(songs[i].path, &cached) >= 0;
        if (known[i] && !SameFileInfo(cached, songs[i].info)) {
            cache.Clear();
            known.assign(songs.size(), false);
            break;
        }
    }
    for (size_t i = 0; i < songs.size(); ++i) {
        const RemoteSong& song = songs[i];
        if (!known[i])
            cache.Add(song.path, song.info, false);
        m_entries.Add(song.entry, song.info.modTime);
        m_remotePaths.Add(song.path, song.info.modTime);
        m_songKeys.Add(song.key, 0);
        m_fileInfos.push_back(song.info);
    }
    return 0;
}

void ADirTunesRemote::Clear() {
    ADir::Clear();
    m_remotePaths.RemoveAll();
    m_songKeys.RemoveAll();
    m_fileInfos.clear();
}

int ADirTunesRemote::IndexOfEntry(const AString& entry) const {
    const int question = entry.ReverseFind(u'?');
    if (question < 0)
        return -1;
    const int colon = entry.Find(u':', question);
    if (colon < 0 || colon + 1 >= entry.GetLength())
        return -1;
    const AString number = entry.Mid(colon + 1);
    for (const char16_t c : number.GetCString()) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    if (number.GetLength() > 9)
        return -1;
    return number.ToInt(10);
}

int ADirTunesRemote::GetFullPath(const AString& entry, AString& out, uint32_t) {
    const int index = IndexOfEntry(entry);
    if (index < 0 || index >= m_remotePaths.GetCount())
        return kErrorEndOfStream;
    out = m_remotePaths.GetName(index);
    return 0;
}

bool ADirTunesRemote::GetListedFileInfo(const AString& entry, FileInfo& info) const {
    const int index = IndexOfEntry(entry);
    if (index < 0 || static_cast<size_t>(index) >= m_fileInfos.size())
        return false;
    info = m_fileInfos[index];
    return true;
}

AString ADirTunesRemote::GetSongKey(const AString& entry) {
    const int index = IndexOfEntry(entry);
    if (index < 0 || index >= m_songKeys.GetCount())
        return AString();
    return m_songKeys.GetName(index);
}

AString ADirTunesRemote::ServerEntry(const AString& path) const {
    AString entry = path;
    if (!m_rootPath.IsEmpty() && entry.Left(m_rootPath.GetLength()) == m_rootPath)
        entry = entry.Mid(m_rootPath.GetLength());
    while (!entry.IsEmpty() && entry.GetAt(0) == kPathSeparator)
        entry = entry.Mid(1);
    return entry;
}

int ADirTunesRemote::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
    return ADir::RemoveEntry(index, deleteFile, skip);
}

int ADirTunesRemote::DeleteFile(const AString& path, uint32_t flag, uint32_t skip) {
    SessionPayload payload(m_sessionID);
    payload.U8(flag).U8(skip).Text(ServerEntry(path));
    if (payload.Result() != 0)
        return payload.Result();
    std::vector<uint8_t> answer;
    AString file;
    const bool known = GetFullPath(path, file, 0) == 0;
    const int result = Exchange(linkcodes::kRemoteDeleteFile, payload.Stream(), answer, kChangeTimeout, false);
    if (result == 0 && known)
        RemoteFileCache::Instance().Remove(file);
    return result;
}

int ADirTunesRemote::UpdateSongInfo(const AString& entry, const AString& key, const ITunesPlayDataFields& fields) {
    SessionPayload payload(m_sessionID);
    payload.Text(ServerEntry(entry)).Text(key);
    for (const uint8_t flag : PlayDataFlags::Write(fields))
        payload.U8(flag);
    if (payload.Result() != 0)
        return payload.Result();
    std::vector<uint8_t> answer;
    return Exchange(linkcodes::kUpdateRemoteSongInfo, payload.Stream(), answer, kChangeTimeout, false);
}

int ADirTunesRemote::CreateSyncPlayList(const AString& name) {
    const int result = CreateRemotePlayList(name);
    if (result == 0)
        SetPlayListName(name);
    return result;
}

int ADirTunesRemote::PlaceFileInLibrary(const AString&, const AString& file, AString& target, uint32_t& copied,
                                        const CancelCallback& callback) {
    return AddITunesReadyFile(file, target, AString(), copied, callback);
}

int ADirTunesRemote::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) {
    keptFile = file;
    return AddSongFromDisk(file, nullptr, callback);
}

int ADirTunesRemote::AddPlacedSong(const AString& file, const AString* key, const CancelCallback& cancel) {
    return AddSongFromDisk(file, key, cancel);
}

void ADirTunesRemote::SetServerAddress(const std::string& address, const AString* name) {
    m_serverAddress = address;
    if (name)
        m_serverName = *name;
    AFileList moved;
    for (int i = 0; i < m_remotePaths.GetCount(); ++i) {
        const AString& path = m_remotePaths.GetName(i);
        const int colon = path.Find(u':');
        // A path whose host has fewer than two characters is no remote path: it stays.
        const AString rewritten = colon > 2 ? RemotePathPrefix() + path.Mid(colon + 1) : path;
        moved.Add(rewritten, m_remotePaths.GetModTime(i));
    }
    m_remotePaths = std::move(moved);
}

void ADirTunesRemote::CopySettings(const ADir& other) {
    const auto* remote = dynamic_cast<const ADirTunesRemote*>(&other);
    const auto* tunes = dynamic_cast<const ADirTunes*>(&other);
    if (!tunes) {
        ADirSong::CopySettings(other);
        return;
    }
    CopyTunesSettings(*tunes);
    if (!remote)
        return;
    SetServerAddress(remote->m_serverAddress, &remote->m_serverName);
    m_link = remote->m_link;
}

AString& ADirTunesRemote::GetDescription(AString& out, uint32_t noPrefix) {
    AString library;
    ADirTunes::GetDescription(library, noPrefix);
    out = m_serverName + ": " + library;
    return out;
}

int ADirTunesRemote::IsPlayListReadOnly() {
    AString name;
    GetPlayListName(name);
    std::lock_guard lock(m_cacheLock);
    if (name.IsEmpty() || !m_playLists)
        return 0;
    for (const RemotePlayList& playList : *m_playLists) {
        if (playList.name.CompareNoCase(name) == 0)
            return playList.kind == RemotePlayList::kUser ? 0 : 1;
    }
    return 0;
}

int ADirTunesRemote::GetPlayListNames(std::vector<AString>& names, uint32_t all, uint32_t skipSpecial) {
    GetListCount();
    const AString library = GetLibraryPlayListName();
    std::lock_guard lock(m_cacheLock);
    if (!m_playLists)
        return 0;
    for (const RemotePlayList& playList : *m_playLists) {
        if (!all && (playList.name == library || playList.name == kMainLibraryName))
            continue;
        if (skipSpecial && playList.kind != RemotePlayList::kUser)
            continue;
        names.push_back(playList.name);
    }
    return 0;
}

int ADirTunesRemote::Save(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = WriteU32(stream, kRecordWord))
        return result;
    if (const int result = ADirSong::Save(stream, flag))
        return result;
    AString playList;
    GetPlayListName(playList);
    const std::optional<uint32_t> localAddress = nativesockets::GetLocalIPv4();
    const AString texts[] = {
        playList,
        AString(nativesockets::GetHostName()),
        AString(localAddress ? nativesockets::FormatIPv4(*localAddress) : std::string()),
        AString(m_serverAddress),
    };
    for (const AString& text : texts) {
        if (const int result = text.Serialize(stream))
            return result;
    }
    return m_remotePaths.Serialize(stream);
}

int ADirTunesRemote::Load(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kRecordWord))
        return result;
    if (const int result = ADirSong::Load(stream, flag))
        return result;
    AString playList;
    if (const int result = playList.Load(stream))
        return result;
    SetPlayListName(playList);
    // This computer's name and address and the server's as they were when the list was saved.
    for (int i = 0; i < 3; ++i) {
        AString dropped;
        if (const int result = dropped.Load(stream))
            return result;
    }
    return m_remotePaths.Load(stream);
}
