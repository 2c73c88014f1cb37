#pragma once
// The song list of an iPod as the music application shows it (one of its iPod sources), or of one
// playlist on that iPod. It works like the library's list through an owned IPod client, which first
// finds its iPod: among the application's iPod sources by name, and among the mounted iPod volumes by
// the name in each volume's database, whose tracks name the songs' files. Its root is a marker that
// carries the iPod's name: "*IPod_Root*" + name + "*".

#include "library/songlists/ADirSong.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class IPod;
class ITunesPlayList;
class ITunesSong;

class ADirPod : public ADirSong {
public:
    // Saved lists of this kind lead with this number instead of a version word.
    static constexpr uint32_t kPodRecordWord = 10006;
    static constexpr const char* kRootMarker = "*IPod_Root*";

    explicit ADirPod(AProgress* progress = nullptr);
    ~ADirPod() override;

    // The root of the list of the iPod of that name.
    static AString RootOf(const AString& podName);

    uint32_t GetType() const override { return kTypePod; }
    // The root, when given, is kept as it is.
    int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) override;
    int GetCount() const override;
    void Sort(uint32_t ascending) override;
    // Binds a new client to the iPod named in the root and reads the iPod's identifier; nothing is
    // listed.
    void SetRootPath(const AString& path) override;
    // The song's file on the iPod: by the entry's id, or by its entry text. -1 for a song that is not in
    // the list or whose file the iPod's database does not name.
    int GetFullPath(const AString& entry, AString& out, uint32_t byID) override;
    uint64_t GetFileDate(const AString& entry) override;
    int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) override;
    // From a playlist list: one occurrence leaves the playlist; the iPod and the file keep the song.
    // From the whole iPod: the file goes to "Removed Files" (or is deleted), then the song leaves.
    int DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) override;
    int AddFile(const AString& entry, AddFileSongInfo& info) override;
    // Whether the iPod holds a song of that entry; its file is not looked at.
    uint32_t FileExists(const AString& entry) override;
    // The entry of a song that was deleted since the entries were made is empty.
    const AString* GetEntry(int index) override;
    void SetPlayListName(const AString& name) override { m_playListName = name; }
    void GetPlayListName(AString& out) const override { out = m_playListName; }
    // A new client, which keeps the iPod's identifier.
    void Clear() override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    int ResetAddState() override;
    void CopySettings(const ADir& other) override;
    // "iPod: " and the iPod's name (left out when asked), then "Playlist: " and the playlist's name, or
    // "Main Library".
    AString& GetDescription(AString& out, uint32_t noPrefix) override;
    // Connects, finds the iPod, reads its database from its volume when it is mounted, then its songs
    // (only the playlist's, when the list has one: -8 when the iPod has no playlist of that name).
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    // The drive of the mounted iPod of the root's name; empty when none is mounted.
    void GetMusicFolder(AString& out) override;
    int IsPlayListReadOnly() override;
    int SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) override;
    int GetArtworkCount(const AString& entry, int& count) override;
    int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) override;
    // The iPod copies the file, and the song goes into the list's playlist. -4 when the iPod holds it.
    int AddSong(const AString& file, const CancelCallback& callback) override;
    // AddTrackFile; `keptFile` is the iPod's copy.
    int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) override;
    int CreatePlayList(const AString& name) override;
    int DeletePlayList(const AString& name) override;
    int GetBitRate(const AString& entry) override;
    int GetDuration(const AString& entry) override;

    // The text of the root between its marker and the next '*'.
    AString GetPodNameFromRoot() const;
    AString GetPodID();
    void SetPodID(const AString& id);
    // Keeps the client's playlist named as the list's playlist (none for the whole iPod).
    void FindPlayList();
    // Adds the file to the iPod (one it holds already is an error, -4), then to the playlist of the list
    // and to the second playlist (-102396 when only that failed). The iPod keeps its own play data.
    int AddTrackFile(const AString& path, const AString* key);
    // The playlist (of this list's client) that added songs go to as well; null for none.
    void SetSecondPlayList(ITunesPlayList* playList) { m_secondPlayList = playList; }
    IPod* GetPod() const { return m_pod.get(); }

private:
    // The root without its marker and its last character.
    AString PodNameOfRoot() const;
    // A connected client of the list's layout; 0 or the connect error.
    int NewPod(std::unique_ptr<IPod>& pod) const;
    // Binds the first iPod source of the root's name; none of that name binds nothing.
    int SelectNamedPod(IPod& pod) const;
    // The drive and identifier of the mounted iPod of the root's name, when there is one.
    int FindPodVolume(const CancelCallback& callback);
    // The list's client when it is bound to its iPod, else one made for the call.
    int WithPod(const std::function<int(IPod&)>& use);
    void FixRemovedFilesFolder();
    int AddTrack(const AString& path, const AString* key, ITunesSong*& song);
    int AddToSecondPlayList(ITunesSong* song);
    ITunesSong* FindEntrySong(const AString& entry, bool byID) const;
    ITunesSong* SongOfID(const AString& entry) const;
    bool InKeptPlayList(const ITunesSong& song) const;
    void DropPod();

    AString m_podId;
    AString m_entryBuffer;
    std::unique_ptr<IPod> m_pod;
    AString m_playListName;
    ITunesPlayList* m_keptPlayList = nullptr;
    ITunesPlayList* m_secondPlayList = nullptr;
};
