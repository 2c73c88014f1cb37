#pragma once
// The song list of the local music library, or of one playlist of it. Its entries are the entry texts
// of the library's songs, each ending in "?" and the song's database id; reading, deleting, adding and
// describing songs go to the music application through an owned iTunes client. Its root is a marker,
// not a folder. The list of another computer's library derives from it.

#include "library/itunes/ITunesPlayData.h"
#include "library/songlists/ADirSong.h"

#include <cstdint>
#include <memory>
#include <vector>

class ITunes;
class ITunesPlayList;
class ITunesSong;

class ADirTunes : public ADirSong {
public:
    // Saved lists of this kind lead with this number instead of a version word.
    static constexpr uint32_t kTunesRecordWord = 10002;
    static constexpr const char* kRootMarker = "*ITunes_Root*";

    explicit ADirTunes(AProgress* progress = nullptr);
    ~ADirTunes() override;

    uint32_t GetType() const override { return kTypeTunes; }
    int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) override;
    int GetCount() const override;
    void Sort(uint32_t ascending) override;
    // The root is kept as given: it is a marker, no folder.
    void SetRootPath(const AString& path) override { m_rootPath = path; }
    // The song's file: by the entry's id, or by its entry text. -1 for a song that is not in the list.
    int GetFullPath(const AString& entry, AString& out, uint32_t byID) override;
    uint64_t GetFileDate(const AString& entry) override;
    int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) override;
    // From a playlist list: one occurrence leaves the playlist; the library and the file stay. From the
    // library: the file goes to "Removed Files" (or is deleted), then the song leaves the library.
    int DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) override;
    int AddFile(const AString& entry, AddFileSongInfo& info) override;
    uint32_t FileExists(const AString& entry) override;
    // The entry of a song that was deleted since the entries were made is empty.
    const AString* GetEntry(int index) override;
    void SetPlayListName(const AString& name) override { m_playListName = name; }
    void GetPlayListName(AString& out) const override { out = m_playListName; }
    void Clear() override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    int ResetAddState() override;
    // "iTunes:" (left out when asked) and the playlist name.
    AString& GetDescription(AString& out, uint32_t noPrefix) override;
    // Connects and reads the library, or the playlist named (-8 when the library has none of that name).
    // With `keepClient` the client of the last read connects again and is kept.
    int ReadDirectory(const CancelCallback& callback, uint32_t keepClient) override;
    // Read afresh from the library file on every call.
    void GetMusicFolder(AString& out) override;
    int IsPlayListReadOnly() override;
    int SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) override;
    int GetArtworkCount(const AString& entry, int& count) override;
    int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) override;
    // Files the song in the music folder (copying it there when it is not), adds it to the library and
    // to the playlist of the list.
    int AddSong(const AString& file, const CancelCallback& callback) override;
    // The file copied into the music folder's layout (GetMusicFolderPath), unless it lies there already.
    int PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target, uint32_t& copied,
                           const CancelCallback& callback) override;
    // AddTrackFile; `keptFile` is the file of the library's song, which for a file the library held
    // already may be another.
    int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) override;
    int CreatePlayList(const AString& name) override;
    int DeletePlayList(const AString& name) override;
    int GetBitRate(const AString& entry) override;
    int GetDuration(const AString& entry) override;

    virtual void CopyTunesSettings(const ADirTunes& other);
    // The play data of the entry's song as a song key; empty for an unknown song. The song's comment is
    // cleaned of file-name characters on the way.
    virtual AString GetSongKey(const AString& entry);
    virtual int UpdateSongInfo(const AString& entry, const AString& key, const ITunesPlayDataFields& fields);
    virtual int CreateSyncPlayList(const AString& name);
    // Keeps the client's playlist named as the list's playlist (none for the whole library).
    virtual void FindPlayList();

    AString PlayListName() const { return m_playListName; }
    const AString& GetCachedMusicFolder() const { return m_musicFolder; }
    // Adds the file to the library (a file it holds already counts as added), then to the playlist of the
    // list and to the second playlist. `key`: play data for the new track, or none.
    int AddTrackFile(const AString& path, const AString* key);
    // Places the song file in the music folder, in its organised folder and under its organised name,
    // copying it only when no copy is there yet; `copied` tells whether it was copied.
    int GetMusicFolderPath(const AString& musicFolder, const AString& source, AString& target,
                           const AString& presetName, uint32_t& copied, const CancelCallback& callback);
    // The playlist (of this list's client) that added songs go to as well; null for none.
    void SetSecondPlayList(ITunesPlayList* playList) { m_secondPlayList = playList; }
    ITunes* GetClient() const { return m_client.get(); }
    uint32_t GetITunesVersion() const { return m_iTunesVersion; }
    void SetDeleteFiles(uint32_t deleteFiles) { m_deleteFiles = deleteFiles; }

private:
    bool IsLimitedToPlayList() const;
    // AddTrackFile, giving the library's song of the file when there is one.
    int AddTrack(const AString& path, const AString* key, ITunesSong*& song);
    ITunesSong* FindEntrySong(const AString& entry, bool byID) const;
    ITunesSong* SongOfID(const AString& entry) const;
    // The song must be in the kept playlist (by its bindings; by the playlist's id too when asked).
    bool InKeptPlayList(const ITunesSong& song, bool byPlayListID) const;
    int AddToSecondPlayList(ITunesSong* song);
    void DropClient();

    AString m_entryBuffer;
    AString m_playListName;
    ITunesPlayList* m_keptPlayList = nullptr;
    AString m_musicFolder;
    uint32_t m_deleteFiles = 1;
    ITunesPlayList* m_secondPlayList = nullptr;
    uint32_t m_iTunesVersion = 0;
    std::unique_ptr<ITunes> m_client;
};
