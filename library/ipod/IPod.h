#pragma once
// An iPod as the music application shows it: one of its iPod sources, driven like the library through
// the same client. It reads that source's songs and playlists, adds song files to it, makes and
// deletes its playlists, and adds what only an iPod has: the drive it is mounted under, its
// identifier, and its own database read from that drive, which names the file of each song. It lives
// beside the database because it reads it; the client it derives from lies below.

#include "library/itunes/ITunes.h"

#include <cstdint>
#include <memory>

class ITunesDB;

class IPod : public ITunes {
public:
    static constexpr uint32_t kPodVersion = 0x00100000;
    static constexpr const char* kUnknownID = "00000000";

    // An exception caught inside an operation gives the operation's own code (kErrorPodSource*).

    // An iPod never hears the application's events.
    IPod();
    ~IPod() override;

    void SetDrive(const AString& drive) { m_drive = drive; }
    AString GetDrive() const { return m_drive; }
    const AString& GetIdentifier() const { return m_podID; }
    void SetIdentifier(const AString& id) { m_podID = id; }
    // Null until ReadPodDB.
    const ITunesDB* GetPodDB() const { return m_database.get(); }

    // Binds the `index`-th iPod source (from 0; a negative index keeps the one chosen before): 0, -2
    // when there are fewer iPod sources, -3 when not connected, -6.
    int SelectPod(int index);
    bool IsPodSelected() const { return m_source != nullptr; }
    // The identifier of the iPod on the volume at `drive`: its serial number, or the CRC-32 of the
    // iPod's name for a volume without one, as 8 hexadecimal digits. 0, or -15133 (the identifier is
    // then unknown).
    int GetPodID(const AString& drive);
    // Reads the tracks of the iPod's own database from the drive, which names each song's file.
    int ReadPodDB(const CancelCallback& cancel, AProgress* progress);

    // Without `refresh` the name last read (empty before any); with it, the iPod source's name.
    int GetName(AString& out, bool refresh) override;
    // The iPod copies the file; the new song's file is the iPod's copy. -2 when no iPod is bound, -4
    // when the iPod holds the song already (`song` null), -5, -11160, -10001, -6. The iPod keeps its own
    // play data: `key` is not written.
    int AddFile(const AString& path, const AString* key, ITunesSong*& song) override;
    // At most one song for each path given, whatever the application made.
    int AddFiles(const std::vector<AString>& paths, std::vector<ITunesSong*>& songs) override;
    // A new user playlist of the iPod.
    int CreatePlayList(const AString& name, ITunesPlayList** created = nullptr) override;
    // Deletes the iPod's playlist of that exact name in the application; the records stay.
    int DeletePlayListByName(const AString& name) override;
    // The iPod's user playlists as records without songs; the name becomes its main playlist's.
    int LoadPlayLists(bool keepSongs) override;
    int LoadPlayLists() { return LoadPlayLists(false); }
    // The client's record, then the drive and the identifier.
    int Serialize(AFile& stream) const override;
    // What was read before a failure stays; a loaded iPod is bound to no source.
    int Load(AFile& stream) override;
    // The iPod's main playlist (an empty name) or its playlist of exactly that name (-8 when none has
    // it), filtered like the library's; each song's file is the one the iPod's database names, when
    // it was read. 0, 123456, -2 when no iPod is bound, -6, -8 or -15131.
    int LoadMasterList(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                       const CancelCallback& cancel, AProgress* progress) override;

private:
    int LoadMasterListSteps(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                            const CancelCallback& cancel, AProgress* progress);
    int SourcePlayLists(std::shared_ptr<itunesapp::PlaylistCollection>& playLists) const;
    // The iPod's main playlist among its playlists.
    int FindMainPlayList(const itunesapp::PlaylistCollection& playLists,
                         std::shared_ptr<itunesapp::Playlist>& main) const;
    int ChooseMasterPlayList(const itunesapp::PlaylistCollection& playLists, const AString& playListName,
                             std::shared_ptr<itunesapp::Playlist>& chosen) const;
    int TakeMasterPlayList(const itunesapp::Playlist& chosen);
    int ReadPodTrack(const std::shared_ptr<itunesapp::Track>& track, const SongFilters* filter,
                     AProgress* progress);
    // The song's file on the drive as the iPod's database names it; empty (and logged) when it names none.
    AString PathOnDrive(ITunesSong& song, AProgress* progress) const;
    // The iPod's main playlist, which takes new song files.
    int MainPlayList(std::shared_ptr<itunesapp::Playlist>& main) const;

    std::unique_ptr<ITunesDB> m_database;
    AString m_drive;
    int m_selected = -1;
    std::shared_ptr<itunesapp::Source> m_source;
    AString m_podID = kUnknownID;
};
