#pragma once
// The song list of an iPod mounted as a drive, read and changed through its own database files. Its
// entries name the database's tracks; adding a song copies the file into one of the iPod's hidden
// music folders ("F" and two digits) under a free four-letter name and adds a track; removing a song
// removes the track and the file. The database reaches the drive when SaveDatabase writes it after the
// changes of a run, and during a long run of copies after each batch of them: a run that is killed
// leaves at most one batch of copied files that no track names.

#include "library/songlists/ADirSong.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

class ITunesDB;
class ITunesDBTrack;
struct PodSongInfo;
struct SongFields;
namespace nativefiles {
struct DirectoryEntry;
}

class ADirPodDB : public ADirSong {
public:
    static constexpr uint32_t kRecordVersion = 0x00100001;
    // The types a video iPod plays beside the songs.
    static constexpr const char* kVideoTypes = "m4v:mp4:ipg:";
    static constexpr uint32_t kVideoFamily = 4;
    // Music folders are "F" and two digits. New songs go into the folders F00 on that the iPod has,
    // else into as many as its model gets, else into the count of an iPod of unknown model.
    static constexpr int kMaxMusicFolders = 100;
    static constexpr int kUnknownModelMusicFolders = 20;
    static constexpr int kFileNameLetters = 4;
    // A batch of copies ends with this many songs, or this long after its first copy.
    static constexpr int kSaveBatchSongs = 50;
    static constexpr std::chrono::seconds kSaveBatchTime{30};

    explicit ADirPodDB(AProgress* progress = nullptr);
    ~ADirPodDB() override;

    uint32_t GetType() const override { return kTypePodDB; }
    // The path, when given, is the iPod's drive root.
    int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) override;
    int GetCount() const override;
    void Sort(uint32_t ascending) override;
    // The drive root; the list's folder scan walks the music folder below it.
    const AString& GetRootPath() const override { return m_driveRoot; }
    void SetRootPath(const AString& path) override;
    // -15014 when no track has the entry (flag: the "?" tail names the track too).
    int GetFullPath(const AString& entry, AString& out, uint32_t flag) override;
    uint64_t GetFileDate(const AString& entry) override;
    int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) override;
    // The entry's file leaves the iPod (into "Removed Files", or deleted) and then its track the
    // database; a file that cannot be removed keeps its track. -15016 when no track has the entry.
    int DeleteFile(const AString& entry, uint32_t flag, uint32_t skip) override;
    int AddFile(const AString& entry, AddFileSongInfo& info) override;
    uint32_t FileExists(const AString& entry) override;
    const AString* GetEntry(int index) override;
    void Clear() override;
    // Reads the files below the music folder first when the last read left them to the record. A
    // folder that cannot be listed any more (the iPod is gone) leaves out what it could not list: the
    // record is still written, as it was before the files were read at the listing.
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    // Writes the changed database (iTunesDB, then iTunesSD); 0 when nothing changed. A track whose
    // file was replaced since the list named it takes the new file's size, length and bit rate first.
    // The copied files, which were not synced one by one, reach the disk first (one flush of the
    // volume): no saved track names a file that a crash could still take.
    int SaveDatabase() override;
    void CopySettings(const ADir& other) override;
    AString& GetDescription(AString& out, uint32_t noPrefix) override;
    // Reads the database; of the music folder only that it can be listed (-5, -15005).
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    void GetMusicFolder(AString& out) override { out = m_driveRoot; }
    int AddSong(const AString& file, const CancelCallback& callback) override;
    int GetBitRate(const AString& entry) override;
    int GetDuration(const AString& entry) override;

    AString GetPodName() const;
    AString GetPodID();
    // The identifier as last read or set, computed from nothing.
    const AString& GetStoredPodID() const { return m_podId; }
    void SetPodID(const AString& id);
    void SetWorkFolder(const AString& folder);
    // Copies a song file onto the iPod and adds its track. `name` stands for a missing title. The track
    // takes its names and numbers from `record` when given (the library's record of the song, whose
    // entry the track's must equal to pair with it), else from the file's tags. -4 when the iPod holds
    // the song (its track is then remembered, see HoldsRefusedSong); -15171 when the volume has no
    // database that was read (nothing is copied).
    int CopySongToPod(const AString& file, const AString* name, const CancelCallback& callback,
                      const SongFields* record = nullptr);
    // Whether a copy refused since the database was read found the song in the entry's track: that
    // track is the song's only copy here, whatever its entry says.
    bool HoldsRefusedSong(const AString& entry) const;

    // A type list (":mp3:m4a:") with the video types added once.
    static AString WithVideoTypes(const AString& types);
    // "A" = 0 ... "Z" = 25, then "BA" = 26: the digits of n in base 26.
    static AString MakeLetterName(uint32_t n);
    // The four-letter file name of a seed: its last four letters, "A" in front of shorter ones.
    static AString MakeFileName(uint32_t seed);
    // 0, -15072 when the attributes cannot be read, -15073 when they cannot be changed.
    static int SetFileVisible(const AString& path, bool visible);

private:
    // Forgets the database but for the iPod's name and identifier.
    void KeepNamesOnly();
    void NewDatabase();
    void SetDatabaseLayout();
    void FixRemovedFilesFolder();
    // From the listing of the music folder: the run of folders F00, F01, ... it holds; without F00 the
    // model's count.
    int MusicFolderCountOf(const std::vector<nativefiles::DirectoryEntry>& listing) const;
    void AddVideoTypes();
    // The entry without the drive root in front, with its leading '\'.
    AString EntryBelowRoot(const AString& entry) const;
    ITunesDBTrack* FindTrack(const AString& entry, uint32_t withHandle) const;
    AString TrackFile(const ITunesDBTrack& track) const;
    int ReadSongFile(const AString& file, const AString* name, const SongFields* record,
                     PodSongInfo& song) const;
    void NoteHolderOf(const PodSongInfo& song);
    int PrepareMusicFolder(const PodSongInfo& song, AString& folder, uint32_t& seed);
    AString FreeTargetFile(const AString& folder, uint32_t seed, const AString& extension);
    bool IsNameTaken(const AString& file);
    int AddCopiedTrack(PodSongInfo& song, const AString& target);
    // Saves the database when the copies since the last save make a batch; a failed save is logged and
    // tried again with the next batch and at the end.
    void SaveBatchWhenDue();
    // The volume flushed, then the database written when it changed. The tracks of replaced files are
    // refreshed only at the end of a run: a batch may come before their replacement.
    int WriteDatabase();
    void RefreshReplacedTracks();
    // The folder scan of the music folder that the last read left to the record: its files (with
    // their times) are written with the list and used nowhere else.
    void ReadMusicFiles();

    AString m_driveRoot;
    std::unique_ptr<ITunesDB> m_database;
    AString m_entryBuffer;
    AString m_podId;
    AString m_workFolder;
    AString m_podName; // not saved
    // Only a database read from the drive with its playlists may be changed and written back.
    bool m_databaseRead = false;
    bool m_changed = false;
    bool m_musicFilesUnread = false;
    // Tracks whose file paths were handed out: a sync replaces a file at such a path.
    std::unordered_set<uint64_t> m_namedTracks;
    // Tracks that hold a song whose copy was refused as a duplicate.
    std::unordered_set<uint64_t> m_refusedHolders;
    int m_batchCopies = 0;
    int m_musicFolderCount = kUnknownModelMusicFolders;
    std::chrono::steady_clock::time_point m_batchStart;
    // The files the database's tracks name (upper case), gathered when the first copy needs them.
    std::optional<std::unordered_set<std::u16string>> m_trackFiles;
};
