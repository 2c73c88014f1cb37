#include "FakePodDrives.h"
#include "StandInFixture.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/TrackCollection.h"

#include <cstdlib>
#include <filesystem>

using namespace itunesapp;

namespace {

// One iPod, "Ann's iPod", mounted at a folder listed in ORVANTIS_EXTRA_VOLUMES, with one song and a
// playlist of it.
class PodSourceTest : public StandInFixture {
protected:
    void SetUp() override {
        mountPoint = folder.File("ipod");
        drives->MakePod(mountPoint, u"Ann's iPod");
        PodContent& content = drives->Saved(mountPoint);
        PodTrack track;
        track.id = 7;
        track.fields.name = u"On the iPod";
        track.pathOnPod = "iPod_Control/Music/F00/ABCD.mp3";
        track.size = 1234;
        content.tracks.push_back(track);
        content.playLists[0].trackIDs = {7};
        content.playLists.push_back({0x5555, u"Running", false, {7}});
        drives->SaveBehindTheBack(mountPoint, content);
        std::filesystem::create_directories(folder.File("not-an-ipod"));
        setenv("ORVANTIS_EXTRA_VOLUMES", (mountPoint + ":" + folder.File("not-an-ipod")).c_str(), 1);

        ITunesInstance::Setup setup = MakeSetup();
        setup.podOpener = drives->Opener();
        instance = std::make_unique<ITunesInstance>(setup);
        ASSERT_EQ(Application::Create(*instance, app), Status::Ok);
    }
    void TearDown() override { unsetenv("ORVANTIS_EXTRA_VOLUMES"); }

    std::shared_ptr<Source> Pod() const {
        std::shared_ptr<SourceCollection> sources;
        std::shared_ptr<Source> pod;
        EXPECT_EQ(app->GetSources(sources), Status::Ok);
        int32_t count = 0;
        EXPECT_EQ(sources->GetCount(count), Status::Ok);
        EXPECT_EQ(count, 2);
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
    TrackList AddToPod(const std::vector<std::string>& paths) const {
        std::shared_ptr<OperationStatus> status;
        std::shared_ptr<TrackCollection> tracks;
        EXPECT_EQ(PodPlaylist(1)->AddFiles(paths, status), Status::Ok);
        EXPECT_EQ(status->GetTracks(tracks), Status::Ok);
        return TracksOf(*tracks);
    }
    std::vector<int32_t> SavedTrackIDs(size_t playlist) {
        return drives->Saved(mountPoint).playLists[playlist].trackIDs;
    }

    static int FilesBelow(const std::string& folder) {
        std::error_code ignored;
        int count = 0;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            count += it->is_regular_file() ? 1 : 0;
        return count;
    }

    std::shared_ptr<FakePodDrives> drives = std::make_shared<FakePodDrives>();
    std::string mountPoint;
};

} // namespace

TEST_F(PodSourceTest, AMountedIPodIsASourceOfItsOwn) {
    const std::shared_ptr<Source> pod = Pod();
    SourceKind kind{};
    std::u16string name;
    ASSERT_EQ(pod->GetKind(kind), Status::Ok);
    ASSERT_EQ(pod->GetName(name), Status::Ok);
    EXPECT_EQ(kind, SourceKind::IPod);
    EXPECT_EQ(name, u"Ann's iPod");
    int32_t podID = 0;
    ASSERT_EQ(pod->GetSourceID(podID), Status::Ok);
    EXPECT_NE(podID, 1);

    const std::shared_ptr<Playlist> main = PodPlaylist(1);
    PlaylistKind playlistKind{};
    ASSERT_EQ(main->GetKind(playlistKind), Status::Ok);
    EXPECT_EQ(playlistKind, PlaylistKind::Library);
    EXPECT_EQ(NameOf(*main), u"Ann's iPod");
    const TrackList tracks = TracksOf(*main);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(TextOf(*tracks[0]), u"On the iPod");
    EXPECT_EQ(NumberOf(*tracks[0], NumberField::DatabaseID), 7);
    std::string location;
    ASSERT_EQ(tracks[0]->GetLocation(location), Status::Ok);
    EXPECT_EQ(location, mountPoint + "/iPod_Control/Music/F00/ABCD.mp3");
    EXPECT_EQ(NameOf(*PodPlaylist(2)), u"Running");
    EXPECT_EQ(NamesOf(*PodPlaylist(2)), std::vector<std::u16string>{u"On the iPod"});
}

TEST_F(PodSourceTest, AddingSongsCopiesThemOntoTheIPodOnce) {
    std::filesystem::create_directories(folder.File("songs/Vol. 2"));
    const std::string bare = folder.File("songs/Vol. 2/bare");
    WriteFakeSong(bare, {});
    const std::string song = Song("Song.MP3");
    const TrackList added = AddToPod({song, bare});
    ASSERT_EQ(added.size(), 2u);
    std::string copy, bareCopy;
    ASSERT_EQ(added[0]->GetLocation(copy), Status::Ok);
    ASSERT_EQ(added[1]->GetLocation(bareCopy), Status::Ok);
    EXPECT_TRUE(copy.starts_with(mountPoint + "/iPod_Control/Music/F00/")) << copy;
    EXPECT_TRUE(copy.ends_with(".mp3")) << copy;
    EXPECT_EQ(std::filesystem::path(bareCopy).extension(), "") << bareCopy;
    EXPECT_EQ(ReadBytes(copy), ReadBytes(song));
    const PodContent& saved = drives->Saved(mountPoint);
    ASSERT_EQ(saved.tracks.size(), 3u);
    EXPECT_EQ(saved.tracks[1].pathOnPod, copy.substr(mountPoint.size() + 1));
    EXPECT_EQ(saved.tracks[1].fields.name, u"Song");
    EXPECT_EQ(SavedTrackIDs(0).size(), 3u);

    EXPECT_TRUE(AddToPod({song}).empty());
}

TEST_F(PodSourceTest, PlaylistsAndDeletionsReachTheIPodsDatabase) {
    std::shared_ptr<Playlist> made;
    ASSERT_EQ(app->CreatePlaylistInSource(u"Gym", *Pod(), made), Status::Ok);
    const TrackList added = AddToPod({Song("a.mp3")});
    std::shared_ptr<Track> inGym;
    ASSERT_EQ(made->AddTrack(*added[0], inGym), Status::Ok);
    ASSERT_EQ(drives->Saved(mountPoint).playLists.size(), 3u);
    EXPECT_EQ(drives->Saved(mountPoint).playLists[2].name, u"Gym");
    EXPECT_EQ(SavedTrackIDs(2), std::vector<int32_t>{NumberOf(*added[0], NumberField::DatabaseID)});
    // A library track cannot go into an iPod playlist.
    const TrackList inLibrary = Add({Song("b.mp3")});
    std::shared_ptr<Track> refused;
    EXPECT_EQ(made->AddTrack(*inLibrary[0], refused), Status::Failed);

    ASSERT_EQ(inGym->Delete(), Status::Ok);
    EXPECT_TRUE(SavedTrackIDs(2).empty());
    std::string copy;
    ASSERT_EQ(added[0]->GetLocation(copy), Status::Ok);
    ASSERT_EQ(added[0]->Delete(), Status::Ok);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(drives->Saved(mountPoint).tracks.size(), 1u);
    ASSERT_EQ(made->SetName(u"Gym Mix"), Status::Ok);
    EXPECT_EQ(drives->Saved(mountPoint).playLists[2].name, u"Gym Mix");
    ASSERT_EQ(made->Delete(), Status::Ok);
    EXPECT_EQ(drives->Saved(mountPoint).playLists.size(), 2u);
}

TEST_F(PodSourceTest, AChangeTheIPodCannotSaveIsUndone) {
    drives->failSaves = true;
    std::shared_ptr<OperationStatus> status;
    EXPECT_EQ(PodPlaylist(1)->AddFiles({Song("a.mp3")}, status), Status::Failed);
    EXPECT_EQ(FilesBelow(mountPoint + "/iPod_Control/Music"), 0);
    std::shared_ptr<Playlist> made;
    EXPECT_EQ(app->CreatePlaylistInSource(u"Gym", *Pod(), made), Status::Failed);
    EXPECT_EQ(PodPlaylist(2)->SetName(u"Walking"), Status::Failed);
    EXPECT_EQ(NameOf(*PodPlaylist(2)), u"Running");
    EXPECT_EQ(NamesOf(*PodPlaylist(1)), std::vector<std::u16string>{u"On the iPod"});
    std::shared_ptr<PlaylistCollection> playlists;
    int32_t count = 0;
    ASSERT_EQ(Pod()->GetPlaylists(playlists), Status::Ok);
    ASSERT_EQ(playlists->GetCount(count), Status::Ok);
    EXPECT_EQ(count, 2);
}

TEST_F(PodSourceTest, ShowsWhatAnotherProgramSavedAndForgetsAnUnmountedIPod) {
    const std::shared_ptr<Playlist> running = PodPlaylist(2);
    PodContent content = drives->Saved(mountPoint);
    content.playLists[1].name = u"Jogging";
    drives->SaveBehindTheBack(mountPoint, content);
    EXPECT_EQ(NameOf(*PodPlaylist(2)), u"Jogging");

    unsetenv("ORVANTIS_EXTRA_VOLUMES");
    std::shared_ptr<SourceCollection> sources;
    int32_t count = 0;
    ASSERT_EQ(app->GetSources(sources), Status::Ok);
    ASSERT_EQ(sources->GetCount(count), Status::Ok);
    EXPECT_EQ(count, 1);
    std::u16string name;
    EXPECT_EQ(running->GetName(name), Status::Failed);
}
