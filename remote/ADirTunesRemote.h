#pragma once
// The song list of the music library of another computer. It is a library list like the local one, so
// the sync engine and the library tools use it alike, but everything that would touch the library or
// its files becomes a request to the server program there. Its entries, song keys and remote paths
// come from one song-list answer, and what the server said of each file goes into the remote file
// cache, where the file and tag operations on remote paths find it. It keeps a session with the server
// from Connect to Disconnect, and the server's playlists once asked for.
//
// Nothing the server answers is trusted: counts beyond the answer, remote paths of another host and
// entries that do not name their place are refused as a whole.

#include "foundation/RemotePeer.h"
#include "library/songlists/ADirTunes.h"
#include "remote/RemotePlayLists.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

class AMemFile;
struct RemoteSong;

class ADirTunesRemote : public ADirTunes {
public:
    // The settings record leads with this number instead of a version word.
    static constexpr uint32_t kRecordWord = 10034;
    static constexpr const char* kRootMarker = "*RemoteiTunes*";
    static constexpr const char* kMainLibraryName = "Main Library";

    explicit ADirTunesRemote(AProgress* progress = nullptr);
    // Ends the session.
    ~ADirTunesRemote() override;

    uint32_t GetType() const override { return kTypeTunesRemote; }
    // Reads the server's song list ("InitWPath"), the root given (none: the server's own).
    int Open(const AString* root, uint32_t flag, const CancelCallback& callback) override;
    int GetCount() const override { return ADir::GetCount(); }
    void Sort(uint32_t ascending) override { ADir::Sort(ascending); }
    // The remote path of the entry: its index is the number after the ':' behind its last '?'.
    int GetFullPath(const AString& entry, AString& out, uint32_t flag) override;
    int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) override;
    // The server deletes the song the path names (1010).
    int DeleteFile(const AString& path, uint32_t flag, uint32_t skip) override;
    const AString* GetEntry(int index) override { return ADir::GetEntry(index); }
    void Clear() override;
    // The settings record, also the settings part of "Start Session".
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    // Starts the session and fills the playlist cache: the session's code.
    int Connect() override;
    int Disconnect() override;
    void CopySettings(const ADir& other) override;
    // The server's name, ": " and the description of a library list.
    AString& GetDescription(AString& out, uint32_t noPrefix) override;
    // The server's song list, as Open without a root.
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    // The server deletes the file of a remote path (1008).
    int DeleteRemoteFile(const AString& path, uint32_t flag, uint32_t reserved = 0) override;
    bool GetListedFileInfo(const AString& entry, FileInfo& info) const override;

    int IsPlayListReadOnly() override;
    int GetPlayListNames(std::vector<AString>& names, uint32_t all, uint32_t skipSpecial) override;
    // Songs reach the server through AddITunesReadyFile and AddSongFromDisk: nothing is done.
    int AddSong(const AString&, const CancelCallback&) override { return 0; }
    // AddITunesReadyFile: the file sent to the server and placed in its music folder.
    int PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target, uint32_t& copied,
                           const CancelCallback& callback) override;
    // AddSongFromDisk, without a song key.
    int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) override;

    // AddSongFromDisk: the server adds the placed file, with the key's play data.
    int AddPlacedSong(const AString& file, const AString* key, const CancelCallback& cancel) override;
    // The server deletes the placed file (1008).
    int DiscardPlacedFile(const AString& file) override { return DeleteRemoteFile(file, 0); }

    // The key the server sent for the entry's song.
    AString GetSongKey(const AString& entry) override;
    // The server writes the chosen fields of the key onto the entry's song (1012).
    int UpdateSongInfo(const AString& entry, const AString& key, const ITunesPlayDataFields& fields) override;
    // The server creates the playlist; then this list is limited to it.
    int CreateSyncPlayList(const AString& name) override;
    void FindPlayList() override {}

    // Stores the server's address (and its name, when given) and moves every remote path to it.
    void SetServerAddress(const std::string& address, const AString* name);
    const std::string& GetServerAddress() const { return m_serverAddress; }
    const AString& GetServerName() const { return m_serverName; }
    // The link the requests go through (not owned); none: every request fails with -1.
    void SetLink(RemotePeer* link) { m_link = link; }
    RemotePeer* GetLink() const { return m_link; }
    // Where the failure lines and the progress of a song sent go (not owned); none: the progress
    // object the list was made with.
    void SetProgress(AProgress* progress) { m_linkProgress = progress; }
    void SetLinkProgress(AProgress* progress) override { SetProgress(progress); }
    // The program's own list of the server it shows: lists of the same server share its playlists.
    // Set to null before that list goes.
    static void SetMainList(ADirTunesRemote* list);

    int StartSession();
    // -1 without a session; the session is forgotten whatever the server answers.
    int EndSession();
    uint32_t GetSessionID() const { return m_sessionID; }
    // Fetches the server's playlists into the cache, the library playlist left out; a server that
    // cannot be asked leaves the library playlist alone, an answer that cannot be read no playlist.
    int GetRemotePlayLists();
    int GetListCount();
    // The entry's kind; beyond the count an empty name and 1.
    uint32_t GetListEntry(int index, AString& name);
    void FreeListCache();
    // The server adds the file of a remote path (its music folder's) to its library; with a song key,
    // the new song takes the key's play data.
    int AddSongFromDisk(const AString& path, const AString* key = nullptr,
                        const CancelCallback& cancel = CancelCallback());
    int CreateRemotePlayList(const AString& name);
    int NewRemotePlayList(const AString& name) { return CreateRemotePlayList(name); }
    int DeleteRemotePlayList(const AString& name);
    // Sends the local file to the server, which places it in its music folder: `placedPath` is the
    // remote path of the file there, `added` whether a copy was placed. Files of 1,000,000,000 bytes or
    // more are refused before anything is sent.
    int AddITunesReadyFile(const AString& localPath, AString& placedPath, const AString& targetText,
                           uint32_t& added, const CancelCallback& cancel = CancelCallback());

private:
    // One request on a connection of its own; with `retry` a failed one is sent once more on another,
    // unless the server fell silent or the cancel ended it.
    int Exchange(int code, const AMemFile& payload, std::vector<uint8_t>& answer, int timeoutSeconds,
                 bool retry, const CancelCallback& cancel = CancelCallback(), AProgress* progress = nullptr,
                 int progressFlags = RemotePeer::kProgressBoth);
    AProgress& LinkProgress() const;
    void LogFailure(const char* operation) const;
    // "InitWPath": the server's song list read and taken.
    int ReadSongList(const AString& root, uint32_t flag, const CancelCallback& cancel);
    int TakeSongList(std::vector<RemoteSong>& songs);
    bool IsOwnRemotePath(const AString& path) const;
    AString RemotePathPrefix() const;
    int IndexOfEntry(const AString& entry) const;
    // The entry as the server lists it: without this list's root in front.
    AString ServerEntry(const AString& path) const;
    bool ShareMainPlayLists();

    AString m_serverName;
    std::string m_serverAddress;
    mutable std::mutex m_cacheLock;
    std::optional<std::vector<RemotePlayList>> m_playLists;
    RemotePeer* m_link = nullptr;
    uint32_t m_secondHandle = 0;
    AProgress* m_linkProgress = nullptr;
    AFileList m_remotePaths;
    AFileList m_songKeys;
    std::vector<FileInfo> m_fileInfos;
    uint32_t m_sessionID = 0;
    // A request of this list met a server that stopped answering, or was cancelled: ending the
    // session then waits only briefly.
    bool m_linkStalled = false;
};
