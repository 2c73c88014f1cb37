#pragma once
// The system's one client of the music application. It connects and hears the application's events,
// reads the library (or one playlist of it) into song records kept by database id, with the playlists
// and the sorted entry texts that the song lists show, adds song files, makes and deletes playlists and
// writes play data back. One thread uses an object at a time; the iPod seen through the application
// derives from it.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "library/entries/EntryText.h"
#include "library/itunes/ITunesBindingOwner.h"
#include "library/itunes/ITunesPlayData.h"
#include "library/itunes/ITunesSongIndex.h"
#include "library/itunes/ITunesTrackBinding.h"
#include "library/itunes/ITunesTrackLookup.h"
#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AFile;
class AProgress;
class ITunesEventHandler;
class ITunesEventTarget;
class ITunesPlayList;
class ITunesSong;
struct SongFilters;
namespace itunesapp {
class Application;
class OperationStatus;
class Playlist;
class PlaylistCollection;
class Source;
class Track;
class TrackCollection;
} // namespace itunesapp

class ITunes : public ITunesBindingOwner, public ITunesTrackLookup {
public:
    static constexpr uint32_t kVersion = 0x00100000;
    static constexpr int kBatchSize = 1000;

    // The events of the application go to `owner` (none: they are dropped).
    explicit ITunes(ITunesEventTarget* owner = nullptr);
    ITunes(const ITunes&) = delete;
    ITunes& operator=(const ITunes&) = delete;
    ~ITunes() override;

    // 0 when connected (a live connection is kept), -7 when the application asks to be called later,
    // -15231 when its library file cannot be read, -6 when it cannot be reached.
    virtual int Connect();
    // The library file and why it cannot be read, after a call answered -15231; empty while it can.
    static AString LibraryProblem();
    // Without `refresh` the name last read (or the process's library playlist name); with it, the
    // library playlist's name as the application gives it now.
    virtual int GetName(AString& out, bool refresh);
    // Adds the song file to the library with the play data of `key` (none: no play data). 0 with `song`
    // the new song, indexed; -4 when the library holds the file already, with `song` the library's song
    // of that file, indexed; -11159 when the file is no song the application can read; any other code
    // with `song` null.
    virtual int AddFile(const AString& path, const AString* key, ITunesSong*& song);
    // Adds the files in one operation; `songs` gets the new songs, indexed, in the order of the tracks
    // the application made, at most one a file.
    virtual int AddFiles(const std::vector<AString>& paths, std::vector<ITunesSong*>& songs);
    // A new user playlist of the library, kept among the playlists; `created` (when given) points to it.
    virtual int CreatePlayList(const AString& name, ITunesPlayList** created = nullptr);
    // Deletes the library's playlist of that exact name in the application; the records stay.
    virtual int DeletePlayListByName(const AString& name);
    // Drops playlist record `index`, after deleting its playlist in the application when asked.
    virtual int DeletePlayList(int index, bool inITunes);
    // The library's user playlists as records without songs; the songs go too unless kept.
    virtual int LoadPlayLists(bool keepSongs);
    virtual int Serialize(AFile& stream) const;
    // A loaded object is not connected; its songs are bound to no track until it loads again.
    virtual int Load(AFile& stream);
    // Drops every song, playlist and entry text.
    virtual void ClearSongIndex();
    // Reads the library playlist (an empty name) or the user playlist of exactly that name into the
    // index, leaving out what `filter` (none: nothing) would not keep, then the user playlists, with
    // their songs when asked (only that playlist's, when one is named). 0, 123456 when cancelled, -3
    // unconnected, -6, -8 when no user playlist has the name, or -15207.
    virtual int LoadMasterList(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                               const CancelCallback& cancel, AProgress* progress);
    // LoadMasterList on an empty index; the index stays empty when the load fails.
    int Reload(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
               const CancelCallback& cancel, AProgress* progress);

    void SetFolderLayout(const EntryLayout& layout);
    const EntryLayout& GetFolderLayout() const { return m_layout; }
    const AString& GetFolderPattern() const { return m_folderPattern; }
    bool IsConnected() const;
    int GetVersionString(AString& out) const;
    // The version text as a number: 7.6.2 gives 762, 10.1.2 gives 1012, 8 gives 888.
    int GetVersionNumber(int& out) const;
    // Drops the tracks the songs are bound to (their ids stay), the subscription and the application.
    int Disconnect();
    int GetPodCount(int& count);
    // The n-th iPod source (from 0) and its id: -2 when there are fewer.
    int FindPodSource(int n, std::shared_ptr<itunesapp::Source>& source, int32_t& sourceID);
    int GetPodSourceName(AString& out, int n);
    const AString& GetLibraryName() const { return m_libraryName; }
    int32_t GetSourceID() const { return m_sourceID; }
    int32_t GetPlayListID() const { return m_playListID; }

    int GetPlayListCount() const { return static_cast<int>(m_playLists.size()); }
    // Null for an index outside the list.
    ITunesPlayList* GetPlayList(int index) const;

    ITunesSong* FindSong(int32_t databaseID) const;
    // Takes the song out of every playlist record and the index, after deleting its track from the
    // library in the application when asked (a failure there changes nothing).
    int DeleteSong(int32_t databaseID, bool inITunes);
    // The entry texts' count once they exist, else the songs'.
    int GetSongCount() const;
    // The entry texts ("\...?id") of every song, sorted (A-Z folded) in the direction asked. They are made
    // at the first sort and not changed by adds and deletes.
    void SortEntries(bool ascending);
    // The song of entry `index`: null when its song was deleted since or the index is outside the list.
    ITunesSong* GetSongAt(int index);
    // The song whose entry text is `text` (a leading '\' may be missing), found in the direction of the
    // last sort.
    ITunesSong* FindSongByEntry(const AString& text);
    void RemoveEntry(int index);
    // Writes the chosen fields of the key's play data onto the song's library track: 0, -15690 for an
    // unknown song, or the code of the failed lookup or write. An empty key writes nothing.
    int UpdateSongInfo(int32_t databaseID, const AString& key, const ITunesPlayDataFields& fields);

    ITunesTrackRef GetTrackByID(int32_t sourceID, int32_t playListID, int32_t trackID,
                                int32_t databaseID) override;

    // The number after the last '?' of an entry text (the whole text without one): a database id.
    static int32_t DatabaseIDOfEntry(const AString& entry);
    // Three rounds of the leading number, each after the text's first '.' when there is one.
    static int VersionNumberOf(const AString& version);

protected:
    using TrackVisit = std::function<int(const std::shared_ptr<itunesapp::Track>&)>;

    // 0 while connected to a running application, else -3.
    int Probe() const;
    // Connects when not connected.
    int EnsureConnected();
    ITunesSongIndex& Songs() { return m_songs; }
    std::vector<std::unique_ptr<ITunesPlayList>>& PlayLists() { return m_playLists; }
    // Null while not connected.
    const std::shared_ptr<itunesapp::Application>& GetApplication() const { return m_application; }
    void SetLoadedName(AString name) { m_libraryName = std::move(name); }

    // Reads the tracks of the master list with `read`, in batches, with progress.
    int ReadMasterTracks(const itunesapp::Playlist& playList, const CancelCallback& cancel,
                         AProgress* progress, const TrackVisit& read);
    // The user playlists as records, with their songs when asked (only that playlist's, when one is named).
    int ReadPlayLists(const itunesapp::PlaylistCollection& playLists, bool withSongs,
                      const AString& playListName, const CancelCallback& cancel, AProgress* progress);
    // The playlist's name, source id and playlist id become the loaded ones.
    int TakeLibraryPlayList(const itunesapp::Playlist& playList);
    // Keeps a playlist the application just made as a record; `created` (when given) points to it.
    int KeepCreatedPlayList(const std::shared_ptr<itunesapp::Playlist>& playList, ITunesPlayList** created);
    // Deletes the playlist of exactly that name in the application; no record changes.
    static int DeleteNamedPlayList(const itunesapp::PlaylistCollection& playLists, const AString& name);
    int AddTrackSong(const std::shared_ptr<itunesapp::Track>& track, ITunesSong*& song);
    ITunesSong* IndexSong(std::unique_ptr<ITunesSong> song, const std::shared_ptr<itunesapp::Track>& track,
                          const itunesapp::ObjectIDs& ids);
    // Adds the file to `target` and gives the track the application made: -4 when it made none.
    int AddFileTo(const itunesapp::Playlist& target, const AString& path,
                  std::shared_ptr<itunesapp::Track>& track);
    // Adds the files to `target` in one operation; `songs` gets the new songs, indexed, at most one a file.
    int AddFilesTo(const itunesapp::Playlist& target, const std::vector<AString>& paths,
                   std::vector<ITunesSong*>& songs);

    // The kind word of the bindings this object makes: 2 for the library, 3 for an iPod.
    uint32_t m_sideKind = ITunesTrackBinding::kLibrary;
    // What the progress texts call the source: "iTunes" for the library, "iPod" for an iPod.
    const char* m_sourceWord = "iTunes";

private:
    int LoadMasterListSteps(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                            const CancelCallback& cancel, AProgress* progress);
    int ChooseMasterPlayList(const itunesapp::PlaylistCollection& playLists, const AString& playListName,
                             std::shared_ptr<itunesapp::Playlist>& chosen);
    int ReadMasterTrack(const std::shared_ptr<itunesapp::Track>& track, const SongFilters* filter);
    int ReadPlayListSongs(ITunesPlayList& record, const itunesapp::Playlist& playList,
                          const CancelCallback& cancel, AProgress* progress);
    // Walks the tracks in batches, asking `cancel` and showing the count before each track; a nonzero
    // answer of `visit` ends the walk with it.
    int WalkTracks(const itunesapp::TrackCollection& tracks, const CancelCallback& cancel, AProgress* progress,
                   const TrackVisit& visit);

    // The application's sources of that kind, in its order.
    int SourcesOfKind(itunesapp::SourceKind kind, std::vector<std::shared_ptr<itunesapp::Source>>& found);
    int LibraryPlayLists(std::shared_ptr<itunesapp::PlaylistCollection>& playLists);
    // The library source's playlists and, among them, its library playlist.
    int LibraryPlayList(std::shared_ptr<itunesapp::PlaylistCollection>& playLists,
                        std::shared_ptr<itunesapp::Playlist>& library);
    int AddPlayListRecord(const std::shared_ptr<itunesapp::Playlist>& playList, ITunesPlayList*& record);
    // The library's song of a file it holds: from the index, else read from the library playlist.
    ITunesSong* ExistingSong(const AString& path);
    // Starts an add (three tries), waits for it to end and gives the tracks it made.
    int RunAdd(const std::function<itunesapp::Status(std::shared_ptr<itunesapp::OperationStatus>&)>& start,
               std::shared_ptr<itunesapp::TrackCollection>& tracks);
    void EnsureEntries();
    void ReleaseTracks();
    bool LoadSongs(AFile& stream, int& result);
    bool LoadPlayListRecords(AFile& stream, int& result);

    AString m_libraryName;
    int32_t m_sourceID = -1;
    int32_t m_playListID = -1;
    // The index owns the songs that the playlists point to: it is made before and goes after them.
    ITunesSongIndex m_songs;
    std::vector<std::unique_ptr<ITunesPlayList>> m_playLists;
    std::optional<std::vector<AString>> m_entries;
    bool m_entriesAscending = true;
    EntryLayout m_layout = kInitialFolderLayout;
    AString m_folderPattern;
    std::shared_ptr<ITunesEventHandler> m_events;
    std::shared_ptr<itunesapp::Application> m_application;
    uint32_t m_cookie = 0;
};
