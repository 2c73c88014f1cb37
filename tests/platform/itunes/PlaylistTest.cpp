#include "StandInFixture.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/TrackCollection.h"
#include "platform/itunes/TrackEnumerator.h"

#include <filesystem>

using namespace itunesapp;

namespace {

using PlaylistTest = StandInFixture;

std::shared_ptr<OperationStatus> AddOne(const Playlist& library, const std::string& path) {
    std::shared_ptr<OperationStatus> status;
    EXPECT_EQ(library.AddFile(path, status), Status::Ok);
    return status;
}

int32_t CountOf(const OperationStatus& status) {
    bool inProgress = true;
    EXPECT_EQ(status.GetInProgress(inProgress), Status::Ok);
    EXPECT_FALSE(inProgress);
    std::shared_ptr<TrackCollection> tracks;
    int32_t count = -1;
    EXPECT_EQ(status.GetTracks(tracks), Status::Ok);
    EXPECT_EQ(tracks->GetCount(count), Status::Ok);
    return count;
}

} // namespace

TEST_F(PlaylistTest, AddingAFileTheLibraryHoldsCompletesWithNoTracks) {
    const std::shared_ptr<Playlist> library = LibraryPlaylist();
    FakeSong one;
    one.fields.name = u"One";
    const std::string song = Song("one.mp3", one);
    EXPECT_EQ(CountOf(*AddOne(*library, song)), 1);
    EXPECT_EQ(CountOf(*AddOne(*library, song)), 0);
    // Not a song, missing, a folder: no track either.
    WriteText(folder.File("songs/notes.txt"), "just text");
    for (const std::string& path :
         {folder.File("songs/notes.txt"), folder.File("songs/missing.mp3"), folder.File("songs")})
        EXPECT_EQ(CountOf(*AddOne(*library, path)), 0) << path;
    EXPECT_EQ(NamesOf(*library), std::vector<std::u16string>{u"One"});
}

TEST_F(PlaylistTest, AddsABatchOnceEachAndNamesUntitledSongsAfterTheirFile) {
    const std::string held = Song("held.mp3");
    ASSERT_EQ(Add({held}).size(), 1u);
    const std::string untitled = folder.File("songs/Vol. 2/untitled track.mp3");
    std::filesystem::create_directories(folder.File("songs/Vol. 2"));
    WriteFakeSong(untitled, {});
    const TrackList added = Add({Song("b.mp3"), held, untitled, Song("c.mp3"), untitled});
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(TextOf(*added[0]), u"b");
    EXPECT_EQ(TextOf(*added[1]), u"untitled track");
    EXPECT_EQ(TextOf(*added[2]), u"c");
    EXPECT_EQ(NamesOf(*LibraryPlaylist()),
              (std::vector<std::u16string>{u"held", u"b", u"untitled track", u"c"}));
}

TEST_F(PlaylistTest, RefusedAddsFailWithoutAStatusUntilTheHookRunsOut) {
    const std::shared_ptr<Playlist> library = LibraryPlaylist();
    instance->RefuseAdds(2);
    std::shared_ptr<OperationStatus> status;
    EXPECT_EQ(library->AddFile(Song("a.mp3"), status), Status::Failed);
    EXPECT_EQ(library->AddFiles({Song("a.mp3")}, status), Status::Failed);
    EXPECT_EQ(status, nullptr);
    EXPECT_EQ(library->AddFile(Song("a.mp3"), status), Status::Ok);
    EXPECT_EQ(CountOf(*status), 1);
}

TEST_F(PlaylistTest, UserPlaylistsAreCreatedRenamedFoundByExactNameAndDeleted) {
    const std::shared_ptr<Playlist> party = NewPlaylist(u"Party");
    PlaylistKind kind{};
    ASSERT_EQ(party->GetKind(kind), Status::Ok);
    EXPECT_EQ(kind, PlaylistKind::User);
    SpecialKind special = SpecialKind::Music;
    bool smart = true;
    ASSERT_EQ(party->GetSpecialKind(special), Status::Ok);
    ASSERT_EQ(party->GetSmart(smart), Status::Ok);
    EXPECT_EQ(special, SpecialKind::None);
    EXPECT_FALSE(smart);
    std::shared_ptr<OperationStatus> status;
    EXPECT_EQ(party->AddFile(Song("a.mp3"), status), Status::Failed);

    EXPECT_NE(NamedPlaylist(u"Party"), nullptr);
    EXPECT_EQ(NamedPlaylist(u"party"), nullptr);
    ASSERT_EQ(party->SetName(u"Dance & Trance"), Status::Ok);
    EXPECT_EQ(NamedPlaylist(u"Party"), nullptr);
    ASSERT_NE(NamedPlaylist(u"Dance & Trance"), nullptr);

    const TrackList added = Add({Song("a.mp3")});
    std::shared_ptr<Track> inParty;
    ASSERT_EQ(party->AddTrack(*added[0], inParty), Status::Ok);
    ASSERT_EQ(party->Delete(), Status::Ok);
    EXPECT_EQ(NamedPlaylist(u"Dance & Trance"), nullptr);
    std::u16string name;
    EXPECT_EQ(party->GetName(name), Status::Failed);
    EXPECT_EQ(party->Delete(), Status::Failed);
    EXPECT_EQ(NamesOf(*LibraryPlaylist()), std::vector<std::u16string>{u"a"});
}

TEST_F(PlaylistTest, EnumeratesInBatchesAndEndsWithAnEmptyBatchOnAWholeNumberOfThem) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i)
        paths.push_back(Song("song" + std::to_string(i) + ".mp3"));
    ASSERT_EQ(Add(paths).size(), 6u);
    std::shared_ptr<TrackCollection> tracks;
    ASSERT_EQ(LibraryPlaylist()->GetTracks(tracks), Status::Ok);
    std::shared_ptr<TrackEnumerator> enumerator;
    ASSERT_EQ(tracks->GetEnumerator(enumerator), Status::Ok);
    TrackList batch;
    EXPECT_EQ(enumerator->Next(3, batch), Status::Ok);
    EXPECT_EQ(TextOf(*batch[0]), u"song0");
    EXPECT_EQ(enumerator->Next(3, batch), Status::Ok);
    EXPECT_EQ(TextOf(*batch[2]), u"song5");
    EXPECT_EQ(enumerator->Next(3, batch), Status::Ended);
    EXPECT_TRUE(batch.empty());
    EXPECT_EQ(enumerator->Next(0, batch), Status::Failed);

    std::shared_ptr<Track> item;
    ASSERT_EQ(tracks->GetItem(6, item), Status::Ok);
    EXPECT_EQ(TextOf(*item), u"song5");
    EXPECT_EQ(tracks->GetItem(7, item), Status::Failed);
}

TEST_F(PlaylistTest, SmartPlaylistsAndFoldersTakeNoTracksByHand) {
    const TrackList added = Add({Song("a.mp3")});
    NewPlaylist(u"Plain");
    ASSERT_TRUE(instance->Flush());
    // Made smart by another program, as the music application keeps its rules.
    const std::vector<uint8_t> bytes = ReadBytes(LibraryFile());
    std::string text(bytes.begin(), bytes.end());
    const std::string named = "<key>Name</key><string>Plain</string>\n";
    text.insert(text.find(named) + named.size(), "\t\t\t<key>Smart Info</key><data>AQE=</data>\n");
    WriteText(LibraryFile() + ".new", text);
    std::filesystem::rename(LibraryFile() + ".new", LibraryFile());

    const std::shared_ptr<Playlist> smart = NamedPlaylist(u"Plain");
    bool isSmart = false;
    ASSERT_EQ(smart->GetSmart(isSmart), Status::Ok);
    EXPECT_TRUE(isSmart);
    std::shared_ptr<Track> inSmart;
    EXPECT_EQ(smart->AddTrack(*added[0], inSmart), Status::Failed);
}
