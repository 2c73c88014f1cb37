#include "StandInFixture.h"
#include "platform/itunes/EventSink.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "support/PercentEncodedPath.h"

#include <filesystem>

using namespace itunesapp;

namespace {

using ApplicationTest = StandInFixture;

ObjectIDs IDsOf(const Track& track) {
    ObjectIDs ids;
    EXPECT_EQ(track.GetObjectIDs(ids), Status::Ok);
    return ids;
}

} // namespace

TEST_F(ApplicationTest, ANewLibraryHasItsLibraryPlaylistAndNoFileUntilItChanges) {
    std::u16string version;
    ASSERT_EQ(app->GetVersion(version), Status::Ok);
    EXPECT_EQ(version, u"9.2.1");

    std::shared_ptr<SourceCollection> sources;
    ASSERT_EQ(app->GetSources(sources), Status::Ok);
    int32_t count = 0;
    ASSERT_EQ(sources->GetCount(count), Status::Ok);
    EXPECT_EQ(count, 1);
    std::shared_ptr<Source> library;
    ASSERT_EQ(sources->GetItem(1, library), Status::Ok);
    EXPECT_EQ(sources->GetItem(2, library), Status::Failed);
    EXPECT_EQ(sources->GetItem(0, library), Status::Failed);
    SourceKind kind{};
    ASSERT_EQ(library->GetKind(kind), Status::Ok);
    EXPECT_EQ(kind, SourceKind::Library);

    std::shared_ptr<PlaylistCollection> playlists;
    ASSERT_EQ(library->GetPlaylists(playlists), Status::Ok);
    std::shared_ptr<Playlist> first;
    ASSERT_EQ(playlists->GetItem(1, first), Status::Ok);
    PlaylistKind playlistKind{};
    ASSERT_EQ(first->GetKind(playlistKind), Status::Ok);
    EXPECT_EQ(playlistKind, PlaylistKind::Library);
    EXPECT_EQ(NameOf(*first), u"Library");
    // The library playlist never answers as a user playlist.
    SpecialKind special{};
    EXPECT_EQ(first->GetSpecialKind(special), Status::Failed);
    EXPECT_EQ(first->Delete(), Status::Failed);
    EXPECT_EQ(first->SetName(u"Other"), Status::Failed);

    EXPECT_FALSE(std::filesystem::exists(LibraryFile()));
    NewPlaylist(u"Party");
    EXPECT_TRUE(std::filesystem::exists(LibraryFile()));
}

TEST_F(ApplicationTest, BusyAndQuitHooks) {
    auto sink = std::make_shared<RecordingSink>();
    uint32_t cookie = 0;
    ASSERT_EQ(app->Subscribe(sink, cookie), Status::Ok);
    const std::shared_ptr<Playlist> library = LibraryPlaylist();

    instance->SetBusy(true);
    std::shared_ptr<Application> second;
    EXPECT_EQ(Application::Create(*instance, second), Status::Busy);
    instance->SetBusy(false);

    instance->Quit();
    EXPECT_EQ(sink->quits, 1);
    std::u16string text;
    EXPECT_EQ(app->GetVersion(text), Status::Gone);
    EXPECT_EQ(library->GetName(text), Status::Gone);
    EXPECT_EQ(app->Unsubscribe(cookie), Status::Gone);

    ASSERT_EQ(Application::Create(*instance, second), Status::Ok);
    EXPECT_EQ(second->GetVersion(text), Status::Ok);
    // The subscription ended with the application that quit.
    std::shared_ptr<Playlist> made;
    ASSERT_EQ(second->CreatePlaylist(u"After", made), Status::Ok);
    EXPECT_TRUE(sink->changed.empty());
}

TEST_F(ApplicationTest, AnUnreadableLibraryFileIsNeverSavedOver) {
    std::filesystem::create_directories(folder.File("iTunes"));
    const std::string damaged = "<plist><dict><key>Tracks</key>";
    WriteText(LibraryFile(), damaged);
    ITunesInstance broken(MakeSetup());
    std::shared_ptr<Application> application;
    EXPECT_EQ(Application::Create(broken, application), Status::Unreadable);
    // The problem names the file and why.
    EXPECT_EQ(broken.LibraryProblem().rfind(LibraryFile() + ": ", 0), 0u) << broken.LibraryProblem();
    EXPECT_GT(broken.LibraryProblem().size(), LibraryFile().size() + 2);
    const std::vector<uint8_t> kept = ReadBytes(LibraryFile());
    EXPECT_EQ(std::string(kept.begin(), kept.end()), damaged);
}

TEST_F(ApplicationTest, ChangesReachTheSubscribersWithFourIDs) {
    auto sink = std::make_shared<RecordingSink>();
    uint32_t cookie = 0;
    ASSERT_EQ(app->Subscribe(sink, cookie), Status::Ok);
    const TrackList added = Add({Song("a.mp3"), Song("b.mp3")});
    ASSERT_EQ(added.size(), 2u);
    ASSERT_EQ(sink->changed.size(), 1u);
    EXPECT_EQ(sink->changed[0], (std::vector<ObjectIDs>{IDsOf(*added[0]), IDsOf(*added[1])}));
    EXPECT_TRUE(sink->deleted[0].empty());

    const std::shared_ptr<Playlist> party = NewPlaylist(u"Party");
    int32_t partyID = 0;
    ASSERT_EQ(party->GetPlaylistID(partyID), Status::Ok);
    std::shared_ptr<Track> inParty;
    ASSERT_EQ(party->AddTrack(*added[0], inParty), Status::Ok);
    const ObjectIDs track = IDsOf(*added[0]);
    ASSERT_EQ(added[0]->Delete(), Status::Ok);
    ASSERT_EQ(sink->deleted.size(), 4u);
    EXPECT_EQ(sink->deleted[3], (std::vector<ObjectIDs>{track}));
    EXPECT_EQ(sink->changed[3], (std::vector<ObjectIDs>{{track.sourceID, partyID, 0, 0}}));

    ASSERT_EQ(party->Delete(), Status::Ok);
    EXPECT_EQ(sink->deleted.back(), (std::vector<ObjectIDs>{{track.sourceID, partyID, 0, 0}}));

    ASSERT_EQ(app->Unsubscribe(cookie), Status::Ok);
    EXPECT_EQ(app->Unsubscribe(cookie), Status::Failed);
    NewPlaylist(u"Unheard");
    EXPECT_EQ(sink->changed.size(), 5u);
}

TEST_F(ApplicationTest, FindsATrackByItsFourIDsAndNeverByAZero) {
    const TrackList added = Add({Song("a.mp3")});
    ASSERT_EQ(added.size(), 1u);
    const ObjectIDs ids = IDsOf(*added[0]);
    EXPECT_NE(ids.sourceID, 0);
    EXPECT_NE(ids.playlistID, 0);
    EXPECT_NE(ids.trackID, 0);
    EXPECT_EQ(ids.databaseID, ids.trackID);
    std::shared_ptr<Track> found;
    ASSERT_EQ(app->GetTrackByIDs(ids, found), Status::Ok);
    EXPECT_EQ(TextOf(*found), u"a");
    for (ObjectIDs wrong : {ObjectIDs{0, ids.playlistID, ids.trackID, ids.databaseID},
                            ObjectIDs{ids.sourceID, 0, ids.trackID, ids.databaseID},
                            ObjectIDs{ids.sourceID, ids.playlistID, 0, ids.databaseID},
                            ObjectIDs{ids.sourceID, ids.playlistID, ids.trackID, 0},
                            ObjectIDs{ids.sourceID, ids.playlistID, ids.trackID + 1, ids.databaseID + 1}})
        EXPECT_EQ(app->GetTrackByIDs(wrong, found), Status::Failed);
}

TEST_F(ApplicationTest, TheRunningApplicationKeepsItsLibraryInTheUsersMusicFolder) {
    const std::string music = folder.File("My Music");
    setenv("XDG_MUSIC_DIR", music.c_str(), 1);
    ITunesInstance::Setup setup;
    setup.tagReader = tags;
    setup.quietTime = {};
    ITunesInstance::Install(setup);
    std::shared_ptr<Application> running;
    ASSERT_EQ(Application::Create(running), Status::Ok);
    std::shared_ptr<Playlist> made;
    ASSERT_EQ(running->CreatePlaylist(u"Party", made), Status::Ok);

    const std::vector<uint8_t> bytes = ReadBytes(music + "/iTunes/iTunes Music Library.xml");
    const std::string text(bytes.begin(), bytes.end());
    const std::string folderLine = "\n\t<key>Music Folder</key><string>file://localhost" +
                                   PercentEncodedPath(folder.Path()) +
                                   "/My%20Music/iTunes/iTunes%20Music/</string>\n";
    EXPECT_NE(text.find(folderLine), std::string::npos) << text;
    EXPECT_NE(text.find("\n\t<key>Library Persistent ID</key><string>"), std::string::npos);

    ITunesInstance::Install({});
    std::u16string version;
    EXPECT_EQ(running->GetVersion(version), Status::Gone);
    unsetenv("XDG_MUSIC_DIR");
}
