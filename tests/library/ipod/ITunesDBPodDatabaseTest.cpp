#include "library/ipod/ITunesDBPodDatabase.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/ipod/ITunesDBPlayListList.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/ipod/PodSongInfo.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tags/ID3.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace itunesapp;

namespace itunesapp {
bool operator==(const PodPlayList& a, const PodPlayList& b) {
    return a.id == b.id && a.name == b.name && a.master == b.master && a.trackIDs == b.trackIDs;
}
} // namespace itunesapp

namespace {

// The stand-in reads song files through our tag reader, as the programs will have it.
class TagsOfFiles : public TagReader {
public:
    bool ReadTags(const std::string& path, itunesapp::SongFields& fields) override {
        ID3 tags;
        if (tags.Read(AString(path)) != 0)
            return false;
        AString name;
        tags.GetDisplayName(name);
        fields.name = name.GetCString();
        fields.artist = tags.GetFields().artist.GetCString();
        fields.album = tags.GetFields().album.GetCString();
        fields.genre = tags.GetFields().genre.GetCString();
        fields.bitRate = tags.GetBitRate();
        fields.totalTimeMs = tags.GetDuration() * 1000;
        return true;
    }
    std::vector<std::vector<uint8_t>> ReadArtwork(const std::string&) override { return {}; }
};

struct TrackOnDrive {
    std::string title;
    std::string path;
    bool operator==(const TrackOnDrive&) const = default;
};

// An iPod, "Ann's iPod", mounted at a folder listed in ORVANTIS_EXTRA_VOLUMES, whose database our layer
// wrote: the song "Old Song" and the playlist "Running" of it.
class PodOverOurDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        mountPoint = folder.File("ipod");
        fs::create_directories(mountPoint + "/iPod_Control/iTunes");
        const std::vector<uint8_t> song = MakeMp3(SongTags("Pop", "Ann", "Hits", "Old Song"));
        WriteSongFile(mountPoint + "/iPod_Control/Music/F00/ABCD.mp3", song);
        WriteDatabase(song.size());
        setenv("ORVANTIS_EXTRA_VOLUMES", mountPoint.c_str(), 1);
    }
    void TearDown() override { unsetenv("ORVANTIS_EXTRA_VOLUMES"); }

    void WriteDatabase(size_t songSize) {
        ITunesDB db;
        PodSongInfo song;
        song.title = song.displayName = "Old Song";
        song.artist = "Ann";
        song.album = "Hits";
        song.genre = "Pop";
        song.extension = "mp3";
        song.path = "iPod_Control/Music/F00/ABCD.mp3";
        song.fileSize = static_cast<uint32_t>(songSize);
        song.duration = 61;
        song.bitRate = 128;
        ITunesDBTrack* track = nullptr;
        ASSERT_EQ(0, db.AddTrack(song, &track, true));
        for (ITunesDBPlayListList* list : db.GetRoot().GetPlayListLists()) {
            list->GetMaster()->SetName(AString("Ann's iPod"));
            ITunesDBPlayList* running = list->Add(std::make_unique<ITunesDBPlayList>(false));
            running->SetName(AString("Running"));
            running->SetPersistentId(0x5555);
            running->AddItem(track);
        }
        AFile file;
        ASSERT_EQ(0, file.Open(AString(DatabaseFile()), AFile::kModeWrite, false));
        ASSERT_EQ(0, db.GetRoot().Write(file));
        ASSERT_EQ(0, file.Close(true));
    }

    std::string DatabaseFile() const { return mountPoint + "/iPod_Control/iTunes/iTunesDB"; }

    std::unique_ptr<PodDatabase> OpenDatabase(PodContent& content) const {
        std::unique_ptr<PodDatabase> database = ITunesDBPodDatabase::Opener()(mountPoint);
        EXPECT_NE(nullptr, database);
        if (database) {
            EXPECT_EQ(0, database->Read(content));
        }
        return database;
    }

    std::vector<TrackOnDrive> TracksOnDrive() const {
        ITunesDB db;
        const AString drive(mountPoint);
        EXPECT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
        std::vector<TrackOnDrive> tracks;
        db.GetRoot().GetTrackList()->ForEachTrack(
            [&](ITunesDBTrack& track) { tracks.push_back({track.GetTitle().ToUtf8(), track.GetPath().ToUtf8()}); });
        return tracks;
    }

    TempDir folder;
    std::string mountPoint;
};

const PodTrack& TrackNamed(const PodContent& content, const std::u16string& name) {
    const auto found = std::find_if(content.tracks.begin(), content.tracks.end(),
                                    [&](const PodTrack& track) { return track.fields.name == name; });
    EXPECT_NE(found, content.tracks.end());
    return *found;
}

TEST_F(PodOverOurDatabase, TheDatabaseShowsItsTracksAndPlaylistsAndKeepsWhatChanges) {
    PodContent content;
    std::unique_ptr<PodDatabase> database = OpenDatabase(content);
    ASSERT_NE(nullptr, database);
    ASSERT_EQ(1u, content.tracks.size());
    const PodTrack old = content.tracks[0];
    EXPECT_GT(old.id, 0);
    EXPECT_EQ(u"Ann", old.fields.artist);
    EXPECT_EQ("iPod_Control/Music/F00/ABCD.mp3", old.pathOnPod);
    EXPECT_EQ(61000u, old.fields.totalTimeMs);
    EXPECT_EQ(128u, old.fields.bitRate);
    ASSERT_EQ(2u, content.playLists.size());
    EXPECT_TRUE(content.playLists[0].master);
    EXPECT_EQ(u"Ann's iPod", content.playLists[0].name);
    EXPECT_NE(0u, content.playLists[0].id);
    EXPECT_EQ((PodPlayList{0x5555, u"Running", false, {old.id}}), content.playLists[1]);
    EXPECT_EQ(nullptr, ITunesDBPodDatabase::Opener()(folder.Path()));

    PodTrack added;
    added.fields.name = u"New Song";
    added.fields.artist = u"Ben";
    added.fields.comment = u"live take";
    added.fields.totalTimeMs = 90500;
    added.fields.year = 2004;
    added.pathOnPod = "iPod_Control/Music/F01/WXYZ.mp3";
    added.size = 4321;
    added.modifiedUnix = 1100000000;
    added.playedCount = 2;
    added.playedUnix = 1200000000;
    added.rating = 60;
    ASSERT_EQ(0, database->AddTrack(added));
    EXPECT_GT(added.id, 0);
    EXPECT_NE(old.id, added.id);
    PodTrack renamed = old;
    renamed.fields.name = u"Renamed";
    renamed.playedCount = 3;
    renamed.rating = 80;
    ASSERT_EQ(0, database->UpdateTrack(renamed));
    PodTrack passing = added;
    passing.fields.name = u"Passing Through";
    passing.pathOnPod = "iPod_Control/Music/F02/PASS.mp3";
    ASSERT_EQ(0, database->AddTrack(passing));
    passing.fields.name = u"Retitled";
    ASSERT_EQ(0, database->UpdateTrack(passing));
    // A retitled track is found under its new title: it can be removed, and its old title is free.
    ASSERT_EQ(0, database->RemoveTrack(passing.id));
    EXPECT_EQ(kErrorInvalidElement, database->UpdateTrack(passing));
    uint64_t gym = 0;
    ASSERT_EQ(0, database->CreatePlayList(u"Gym", gym));
    ASSERT_EQ(0, database->SetPlayListTracks(gym, {added.id, old.id}));
    ASSERT_EQ(0, database->RenamePlayList(0x5555, u"Jogging"));
    EXPECT_EQ(kErrorInvalidPlayList, database->DeletePlayList(content.playLists[0].id));
    EXPECT_EQ(kErrorInvalidElement, database->SetPlayListTracks(gym, {9999}));
    ASSERT_EQ(0, database->Save());
    // Ids outlive the save.
    added.playedCount = 5;
    ASSERT_EQ(0, database->UpdateTrack(added));
    ASSERT_EQ(0, database->Save());

    PodContent saved;
    std::unique_ptr<PodDatabase> reread = OpenDatabase(saved);
    ASSERT_EQ(2u, saved.tracks.size());
    const PodTrack& newSong = TrackNamed(saved, u"New Song");
    EXPECT_EQ(u"live take", newSong.fields.comment);
    EXPECT_EQ(90500u, newSong.fields.totalTimeMs);
    EXPECT_EQ(2004u, newSong.fields.year);
    EXPECT_EQ(added.pathOnPod, newSong.pathOnPod);
    EXPECT_EQ(4321u, newSong.size);
    EXPECT_EQ(added.modifiedUnix, newSong.modifiedUnix);
    EXPECT_EQ(5u, newSong.playedCount);
    EXPECT_EQ(added.playedUnix, newSong.playedUnix);
    EXPECT_EQ(60u, newSong.rating);
    const PodTrack& renamedSong = TrackNamed(saved, u"Renamed");
    EXPECT_EQ(3u, renamedSong.playedCount);
    EXPECT_EQ(80u, renamedSong.rating);
    ASSERT_EQ(3u, saved.playLists.size());
    EXPECT_EQ(content.playLists[0].id, saved.playLists[0].id);
    EXPECT_EQ((PodPlayList{0x5555, u"Jogging", false, {renamedSong.id}}), saved.playLists[1]);
    EXPECT_EQ((PodPlayList{gym, u"Gym", false, {newSong.id, renamedSong.id}}), saved.playLists[2]);

    ASSERT_EQ(0, reread->RemoveTrack(renamedSong.id));
    ASSERT_EQ(0, reread->DeletePlayList(gym));
    EXPECT_EQ(kErrorInvalidPlayList, reread->DeletePlayList(gym));
    ASSERT_EQ(0, reread->Save());
    EXPECT_EQ((std::vector<TrackOnDrive>{{"New Song", "/iPod_Control/Music/F01/WXYZ.mp3"}}), TracksOnDrive());
    PodContent last;
    OpenDatabase(last);
    ASSERT_EQ(2u, last.playLists.size());
    EXPECT_TRUE(last.playLists[1].trackIDs.empty());
}

// The stand-in's iPod source over the adapter.
class StandInPodSource : public PodOverOurDatabase {
protected:
    void SetUp() override {
        PodOverOurDatabase::SetUp();
        ITunesInstance::Setup setup;
        setup.libraryFile = folder.File("iTunes/iTunes Music Library.xml");
        setup.tagReader = std::make_shared<TagsOfFiles>();
        setup.podOpener = ITunesDBPodDatabase::Opener();
        setup.quietTime = std::chrono::milliseconds(0);
        instance = std::make_unique<ITunesInstance>(setup);
        ASSERT_EQ(Application::Create(*instance, app), Status::Ok);
    }

    std::shared_ptr<Source> Pod() const {
        std::shared_ptr<SourceCollection> sources;
        std::shared_ptr<Source> pod;
        EXPECT_EQ(app->GetSources(sources), Status::Ok);
        EXPECT_EQ(sources->GetItem(2, pod), Status::Ok);
        return pod;
    }
    std::shared_ptr<Playlist> PodPlaylist(int32_t index) const {
        std::shared_ptr<PlaylistCollection> playlists;
        std::shared_ptr<Playlist> playlist;
        EXPECT_EQ(Pod()->GetPlaylists(playlists), Status::Ok);
        EXPECT_EQ(playlists->GetItem(index, playlist), Status::Ok);
        return playlist;
    }
    static std::vector<std::shared_ptr<Track>> TracksOf(const TrackCollection& collection) {
        int32_t count = 0;
        EXPECT_EQ(collection.GetCount(count), Status::Ok);
        std::vector<std::shared_ptr<Track>> tracks(count);
        for (int32_t i = 0; i < count; ++i)
            EXPECT_EQ(collection.GetItem(i + 1, tracks[i]), Status::Ok);
        return tracks;
    }
    static std::vector<std::shared_ptr<Track>> TracksOf(const Playlist& playlist) {
        std::shared_ptr<TrackCollection> tracks;
        EXPECT_EQ(playlist.GetTracks(tracks), Status::Ok);
        return TracksOf(*tracks);
    }
    static std::u16string NameOf(const Track& track) {
        std::u16string name;
        EXPECT_EQ(track.GetText(TextField::Name, name), Status::Ok);
        return name;
    }

    std::unique_ptr<ITunesInstance> instance;
    std::shared_ptr<Application> app;
};

TEST_F(StandInPodSource, ListsAddsAndDeletesThroughTheIPodsOwnDatabase) {
    std::u16string name;
    ASSERT_EQ(Pod()->GetName(name), Status::Ok);
    EXPECT_EQ(u"Ann's iPod", name);
    const auto tracks = TracksOf(*PodPlaylist(1));
    ASSERT_EQ(1u, tracks.size());
    EXPECT_EQ(u"Old Song", NameOf(*tracks[0]));
    std::string location;
    ASSERT_EQ(tracks[0]->GetLocation(location), Status::Ok);
    EXPECT_EQ(mountPoint + "/iPod_Control/Music/F00/ABCD.mp3", location);
    std::u16string running;
    ASSERT_EQ(PodPlaylist(2)->GetName(running), Status::Ok);
    EXPECT_EQ(u"Running", running);
    EXPECT_EQ(1u, TracksOf(*PodPlaylist(2)).size());

    const std::string file = folder.File("songs/new.mp3");
    WriteSongFile(file, MakeMp3(SongTags("Jazz", "Ben", "Live", "New Song")));
    std::shared_ptr<OperationStatus> status;
    ASSERT_EQ(PodPlaylist(1)->AddFiles({file}, status), Status::Ok);
    std::shared_ptr<TrackCollection> addedTracks;
    ASSERT_EQ(status->GetTracks(addedTracks), Status::Ok);
    const auto added = TracksOf(*addedTracks);
    ASSERT_EQ(1u, added.size());
    std::string copy;
    ASSERT_EQ(added[0]->GetLocation(copy), Status::Ok);
    EXPECT_TRUE(fs::exists(copy)) << copy;
    const std::vector<TrackOnDrive> onDrive = TracksOnDrive();
    ASSERT_EQ(2u, onDrive.size());
    EXPECT_EQ((TrackOnDrive{"New Song", copy.substr(mountPoint.size())}), onDrive[1]);

    std::shared_ptr<Playlist> gym;
    ASSERT_EQ(app->CreatePlaylistInSource(u"Gym", *Pod(), gym), Status::Ok);
    ASSERT_EQ(added[0]->Delete(), Status::Ok);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(1u, TracksOnDrive().size());
    PodContent content;
    OpenDatabase(content);
    ASSERT_EQ(3u, content.playLists.size());
    EXPECT_EQ(u"Gym", content.playLists[2].name);
}

} // namespace
