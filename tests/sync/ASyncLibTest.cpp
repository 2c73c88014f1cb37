// The song sync's own rules: the texts of its actions, the title of an entry, its options on all four
// lists, the library id and the checks before an iPod is written into, the add-files run, and a copy
// into another computer's library that carries the song's play data.

#include "sync/ASyncLib.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/itunes/ITunesDates.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "sync/LibraryPodFixture.h"
#include "sync/RemoteLikeTunes.h"
#include "sync/SyncErrorCodes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr int kButtonYes = 0;
constexpr int kButtonNo = 1;

// A song sync of two song folders whose roots lie in a test folder; nothing is read from them.
class SongTexts : public ::testing::Test {
protected:
    void SetUp() override {
        sync.BuildList1(&root1, CancelCallback(), false, false);
        sync.BuildList2(&root2, CancelCallback(), false, false);
    }
    AString Path(const char* entry) const { return root1 + entry; }

    TempDir folder;
    const AString root1 = AString((folder.Path() + "/one/").c_str());
    const AString root2 = AString((folder.Path() + "/two/").c_str());
    ASyncLib sync{ADir::kTypeSongDir, ADir::kTypeSongDir};
};

} // namespace

TEST_F(SongTexts, ASongShowsAsManyLevelsAsItsWidthHolds) {
    AString description;
    sync.GetDirectory1().GetDescription(description, 0);
    const AString song = Path("\\Pop\\*\\Hits\\Song\\mp3?12");
    struct Case {
        int width;
        uint32_t noPrefix;
        std::string text;
    };
    for (const Case& c :
         {Case{30, 0, "Pop; Unknown Artist; Hits; Song; mp3"}, Case{10, 0, "Unknown Artist; Song"},
          Case{5, 0, "Song"}, Case{-1, 1, "Pop; Unknown Artist; Hits; Song; mp3"},
          Case{-1, 0, description.ToUtf8() + ": Pop; Unknown Artist; Hits; Song; mp3"}}) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(sync.GetEntryText(song, ASync::kWholeEntry, c.width, c.noPrefix).ToUtf8(), c.text);
    }
    EXPECT_EQ(sync.GetEntryText(song, ASync::kFolderPart, -1, 0), description);
    EXPECT_EQ(sync.GetEntryText(Path("plain.mp3"), ASync::kWholeEntry, -1, 0), Path("plain.mp3"));
    EXPECT_EQ(sync.GetEntryText(AString("\\*\\*\\*\\*\\*?3"), ASync::kWholeEntry, -1, 0),
              "Unknown Genre; Unknown Artist; Unknown Album; Unknown Title; Unknown Type");
}

TEST_F(SongTexts, TheEntryNameIsTheTitleLevelOfTheSidesLayout) {
    AString name;
    sync.GetEntryName(Path("\\Pop\\Abba\\Gold\\Waterloo\\mp3?3"), name);
    EXPECT_EQ(name, "Waterloo");
    sync.SetUseTrackNumber(1);
    sync.GetEntryName(Path("\\Pop\\Abba\\Gold\\01\\Waterloo\\mp3?3"), name);
    EXPECT_EQ(name, "Waterloo");
    sync.SetUseGenre(0);
    sync.SetUseFileType(0);
    sync.SetUseTrackNumber(0);
    sync.GetEntryName(Path("\\Abba\\Gold\\Waterloo?3"), name);
    EXPECT_EQ(name, "Waterloo");
}

// A new value reaches all four lists and empties both snapshots; the same value, or new Apple IDs,
// keep them.
TEST_F(SongTexts, OptionsReachEveryListAndOnlyAChangeForgetsTheLastSync) {
    for (const char* side : {"one", "two"})
        WriteSongFile(folder.File(std::string(side) + "/a.mp3"),
                      MakeMp3(SongTags("Pop", "Abba", "Gold", "A")));
    const auto fillSnapshots = [this] {
        ASSERT_GE(sync.GetSnapshot1().AddEntry(AString("a.mp3"), 0), 0);
        ASSERT_GE(sync.GetSnapshot2().AddEntry(AString("a.mp3"), 0), 0);
    };
    const auto snapshotsKept = [this] {
        return sync.GetSnapshot1().GetCount() + sync.GetSnapshot2().GetCount();
    };
    fillSnapshots();
    sync.SetUseGenre(sync.GetUseGenre());
    EXPECT_EQ(snapshotsKept(), 2);
    sync.SetAppleIDs(AString(":ann@example.org:"));
    EXPECT_EQ(snapshotsKept(), 2);
    sync.SetUseGenre(0);
    EXPECT_EQ(snapshotsKept(), 0);
    fillSnapshots();
    sync.SetArtistIncludeList(AString(":Abba:"));
    EXPECT_EQ(snapshotsKept(), 0);
    for (ADir* list :
         {&sync.GetDirectory1(), &sync.GetSnapshot1(), &sync.GetDirectory2(), &sync.GetSnapshot2()}) {
        const auto& song = dynamic_cast<const ADirSong&>(*list);
        EXPECT_EQ(song.GetGenreLevel(), 0U);
        EXPECT_EQ(song.GetArtistFilter().keep, ":Abba:");
        EXPECT_EQ(song.GetAllowedAppleIDs(), ":ann@example.org:");
    }
    EXPECT_EQ(sync.GetArtistIncludeList(), ":Abba:");
}

TEST(SongSyncOptions, PlainFoldersHaveNoTagsToCompare) {
    ASyncLib plain(ADir::kTypeDir, ADir::kTypeDir);
    EXPECT_EQ(plain.GetDontCopyWhenTagsEqual(), 1U);
    ASyncLib mixed(ADir::kTypeDir, ADir::kTypeSongDir);
    EXPECT_EQ(mixed.GetDontCopyWhenTagsEqual(), 0U);
    mixed.SetDontCopyWhenTagsEqual(1);
    EXPECT_EQ(mixed.GetDontCopyWhenTagsEqual(), 1U);
    EXPECT_EQ(dynamic_cast<const ADirSong&>(mixed.GetSnapshot2()).GetSizeMatchesTarget(), 1U);
}

// Another computer's library lives in a layer above; until it registers, no sync can be made for it.
TEST(SongSyncOptions, ATypeWithoutAListLeavesTheSideAsItWas) {
    ASyncLib sync(ADir::kTypeSongDir, ADir::kTypeSongDir);
    EXPECT_EQ(sync.InitSongTypes(ADir::kTypeTunesRemote, ADir::kTypePodDB), kErrorIO);
    EXPECT_EQ(sync.GetDirectory1().GetType(), ADir::kTypeSongDir);
    EXPECT_EQ(sync.GetDirectory2().GetType(), ADir::kTypePodDB);
    EXPECT_EQ(sync.GetType2(), ADir::kTypePodDB);
    EXPECT_EQ(sync.GetIncludeTypes(), ADirSong::kSongTypes);
}

namespace {

// The library file's id line, read from a music folder of the test's own.
class LibraryId : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_MUSIC_DIR");
        m_old = old ? old : "";
        setenv("XDG_MUSIC_DIR", folder.Path().c_str(), 1);
        fs::create_directories(folder.File("iTunes"));
    }
    void TearDown() override {
        if (m_old.empty())
            unsetenv("XDG_MUSIC_DIR");
        else
            setenv("XDG_MUSIC_DIR", m_old.c_str(), 1);
    }
    void WriteLibrary(const std::string& idLine) const {
        std::ofstream(folder.File("iTunes/iTunes Music Library.xml"))
            << "<plist version=\"1.0\">\r\n<dict>\r\n\t<key>Music Folder</key><string>x</string>\r\n"
            << idLine << "\r\n</dict>\r\n";
    }

    TempDir folder;

private:
    std::string m_old;
};

} // namespace

TEST_F(LibraryId, TheIdIsOneNumberWithItsFirstEightDigitsLow) {
    struct Case {
        const char* line;
        int result;
        uint64_t id;
    };
    for (const Case& c : {
             Case{"\t<key>Library Persistent ID</key><string>0123456789ABCDEF</string>", 0,
                  0x89ABCDEF01234567},
             Case{"\t<key>Library Persistent ID</key><string>1A2b</string>", 0, 0x1A2B},
             Case{"\t<key>Library Persistent ID</key><string>0000000100AB</string>", 0, 0x000000AB00000001},
             Case{"\t<key>Library Persistent ID</key>0123", kErrorNoLibraryIdStart, 0},
             Case{"\t<key>Library Persistent ID</key><string>0123", kErrorNoLibraryIdEnd, 0},
             Case{"\t<key>Library Persistent ID</key><string>01G3</string>", kErrorNoLibraryIdEnd, 0},
             Case{"\t<key>Library Persistent ID</key><string>0123456789ABCDEF0</string>",
                  kErrorNoLibraryIdEnd, 0},
         }) {
        SCOPED_TRACE(c.line);
        WriteLibrary(c.line);
        uint64_t id = 0;
        EXPECT_EQ(ASyncLib::GetLibraryPersistentID(id), c.result);
        if (c.result == 0) {
            EXPECT_EQ(id, c.id);
        }
    }
    WriteLibrary("");
    uint64_t id = 0;
    EXPECT_EQ(ASyncLib::GetLibraryPersistentID(id), kErrorShortRead);
}

TEST_F(LibraryId, AnIPodKeepsItsLibraryIdLowWordFirst) {
    fs::create_directories(folder.File("pod/iPod_Control/iTunes"));
    std::string prefs(24, '\0');
    const std::string id = {0x67,
                            0x45,
                            0x23,
                            0x01,
                            static_cast<char>(0xEF),
                            static_cast<char>(0xCD),
                            static_cast<char>(0xAB),
                            static_cast<char>(0x89)};
    prefs.replace(12, 8, id);
    std::ofstream(folder.File("pod/iPod_Control/iTunes/iTunesPrefs"), std::ios::binary) << prefs;
    WriteLibrary("\t<key>Library Persistent ID</key><string>0123456789ABCDEF</string>");
    uint64_t podId = 0;
    uint64_t libraryId = 0;
    ASSERT_EQ(ASyncLib::ReadPodLibraryID(folder.Text("pod"), podId), 0);
    ASSERT_EQ(ASyncLib::GetLibraryPersistentID(libraryId), 0);
    EXPECT_EQ(podId, libraryId);
    ASSERT_EQ(ASyncLib::DivorcePod(folder.Text("pod")), 0);
    ASSERT_EQ(ASyncLib::ReadPodLibraryID(folder.Text("pod"), podId), 0);
    EXPECT_EQ(podId, 0U);
    EXPECT_EQ(fs::file_size(folder.File("pod/iPod_Control/iTunes/iTunesPrefs")), 24U);
    EXPECT_EQ(ASyncLib::DivorcePod(folder.Text("nowhere")), kErrorFileNotFound);
    EXPECT_FALSE(fs::exists(folder.File("nowhere/iPod_Control/iTunes/iTunesPrefs")));
}

namespace {

// The stand-in's library, whose id the iPod's preferences may name, and the fake iPod.
class PodChecks : public LibraryPodFixture {
protected:
    void SetUp() override {
        LibraryPodFixture::SetUp();
        AddLibrarySong("Abba", "Gold", "Waterloo", "1");
        LibraryText();
        ASSERT_EQ(ASyncLib::GetLibraryPersistentID(libraryId), 0);
        ASSERT_NE(libraryId, 0U);
    }

    int Check(uint32_t direction, int stage) {
        user.messages.clear();
        user.alerts.clear();
        return MakeSync(direction, 0)->CheckBeforeSync(stage);
    }

    uint64_t libraryId = 0;
    static constexpr int kTell = ASyncLib::kCheckTell | ASyncLib::kCheckPlayLists;
    static constexpr int kSilent = ASyncLib::kCheckPlayLists;
};

} // namespace

TEST_F(PodChecks, AnIPodOfThisLibraryOrOfNoneIsWrittenWithoutAQuestion) {
    for (const uint64_t id : {uint64_t(0), libraryId}) {
        WritePodPrefs(false, id);
        EXPECT_EQ(Check(kDirection1To2, kTell), 0);
        EXPECT_TRUE(user.alerts.empty());
    }
}

TEST_F(PodChecks, AMarriedIPodIsDivorcedOnlyWhenTheUserSaysSo) {
    const uint64_t otherLibrary = libraryId ^ 0x100000001;
    WritePodPrefs(false, otherLibrary);
    user.QueueAnswers({kButtonNo});
    EXPECT_EQ(Check(kDirection1To2, kTell), kUserCancel);
    ASSERT_EQ(user.alerts.size(), 1U);
    EXPECT_EQ(user.alerts[0].message.Find("Selected iPod is married to another computer."), 0);
    EXPECT_EQ(PodLibraryId(), otherLibrary);

    // The silent stage of a prepare never asks and never divorces.
    EXPECT_EQ(Check(kDirection1To2, kSilent), kErrorPodMarried);
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_EQ(PodLibraryId(), otherLibrary);

    // Nothing is written into the iPod copying from it.
    EXPECT_EQ(Check(kDirection2To1, kTell), 0);

    user.QueueAnswers({kButtonYes});
    EXPECT_EQ(Check(kDirectionBoth, kTell), 0);
    EXPECT_EQ(PodLibraryId(), 0U);
}

TEST_F(PodChecks, AnIPodThatUpdatesItselfIsNotWrittenInto) {
    WritePodPrefs(true, 0);
    EXPECT_EQ(Check(kDirection1To2, kTell), kErrorPodAutoUpdate);
    EXPECT_EQ(user.messages.size(), 1U);
    EXPECT_EQ(Check(kDirection1To2, kSilent), kErrorPodAutoUpdate);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(Check(kDirection2To1, kTell), 0);
}

// An iPod without preferences belongs to no library and is updated by hand; the check never makes the
// file. One whose preferences cannot be read is refused, and the user reads which file and why.
TEST_F(PodChecks, MissingPreferencesPassAndUnreadableOnesAreNamedWithTheReason) {
    const std::string prefs = PodRoot() + "/iPod_Control/iTunes/iTunesPrefs";
    fs::remove(prefs);
    EXPECT_EQ(Check(kDirectionBoth, kTell), 0);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(fs::exists(prefs));

    std::ofstream(prefs, std::ios::binary) << "short";
    const AString expected = AString("The iPod's preferences could not be read: ") + prefs.c_str() +
                             ": End of file encountered.";
    EXPECT_EQ(Check(kDirection1To2, kTell), kErrorShortRead);
    EXPECT_EQ(user.messages, std::vector<AString>{expected});
    EXPECT_EQ(Check(kDirection1To2, kSilent), kErrorShortRead);
    EXPECT_TRUE(user.messages.empty());
    EXPECT_GE(progress.PendingLog().Find(expected, 0, true), 0) << progress.PendingLog().ToUtf8();
}

// The add-files command: song files offered to the iPod through the tools' add list.
TEST_F(PodChecks, TheAddFilesRunCopiesTheConfirmedSongsOntoTheIPod) {
    for (const char* title : {"First", "Second"})
        WriteSongFile(dir.File(std::string("add/") + title + ".mp3"),
                      MakeMp3(SongTags("Pop", "Band", "Live", title)));
    auto files = std::make_shared<ADirSongDir>(&progress);
    files->SetRootPath(dir.Text("add"));
    ASSERT_GE(files->AddEntry(AString("First.mp3"), 0), 0);
    ASSERT_GE(files->AddEntry(AString("Second.mp3"), 0), 0);
    auto pod = std::make_shared<ADirPodDB>(&progress);
    pod->SetRootPath(AString(PodRoot().c_str()));
    ASyncLib sync(ADir::kTypeSongDir, ADir::kTypePodDB, &progress);
    ADir* ownList = &sync.GetDirectory2();
    sync.CreateNewLists(files, pod);
    sync.SetDirection(kDirection1To2);

    toolPresenter.QueueAnswers({false});
    EXPECT_EQ(sync.Process(CancelCallback(), ASync::kBuildList2), kUserCancel);
    EXPECT_TRUE(TracksOnPod().empty());

    toolPresenter.QueueAnswers({true});
    ASSERT_EQ(sync.Process(CancelCallback(), ASync::kBuildList2), 0);
    const auto shown = toolPresenter.Shown();
    ASSERT_EQ(shown.size(), 2U);
    EXPECT_EQ(shown[1].title, "Add Song File(s) To iPod - Files to Add");
    EXPECT_EQ(shown[1].kind, uint32_t(kToolAddSongsList));
    EXPECT_NE(shown[1].addActions, nullptr);
    EXPECT_EQ(TracksOnPod().size(), 2U);

    // Both songs are there now.
    ASSERT_GE(files->AddEntry(AString("First.mp3"), 0), 0);
    ASSERT_EQ(sync.Process(CancelCallback(), ASync::kBuildList2), 0);
    EXPECT_EQ(user.messages.back(), "Nothing to Add!");
    sync.UseNewLists();
    EXPECT_EQ(&sync.GetDirectory2(), ownList);
}

// The song key carries the play data into another computer's library, the last-played time in its two
// halves; here this library plays the other one, so the new song's values can be read back.
TEST_F(PodChecks, ACopyIntoAnotherLibraryCarriesThePlayData) {
    RegisteredRemoteLists registered;
    const std::string waterloo = dir.File("songs/Waterloo.mp3");
    MakePlayList(u"Mix", {waterloo});
    MakePlayList(u"Other", {});
    // Played in 2050: the time since 1904 needs more than 32 bits.
    const double played = OleDateFromMacTime(UnixToMacTime(2524608000));
    {
        using namespace itunesapp;
        std::shared_ptr<Application> app;
        std::shared_ptr<Playlist> library;
        std::shared_ptr<TrackCollection> tracks;
        std::shared_ptr<Track> track;
        ASSERT_EQ(Application::Create(app), Status::Ok);
        ASSERT_EQ(app->GetLibraryPlaylist(library), Status::Ok);
        ASSERT_EQ(library->GetTracks(tracks), Status::Ok);
        ASSERT_EQ(tracks->GetItem(1, track), Status::Ok);
        ASSERT_EQ(track->SetNumber(NumberField::PlayedCount, 7), Status::Ok);
        ASSERT_EQ(track->SetNumber(NumberField::Rating, 80), Status::Ok);
        ASSERT_EQ(track->SetDate(DateField::Played, played), Status::Ok);
    }
    ASyncLib sync(ADir::kTypeTunes, ADir::kTypeTunesRemote, &progress);
    sync.SetPresenter(&presenter);
    const AString root1(ADirTunes::kRootMarker);
    const AString root2("*Remote_Root*");
    sync.BuildList1(&root1, CancelCallback(), false, false);
    sync.BuildList2(&root2, CancelCallback(), false, false);
    sync.SetPlayListName1(AString("Mix"));
    sync.SetPlayListName2(AString("Other"));
    ASSERT_EQ(Run(sync), 0);
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].substr(0, shown[0].find(" | ")), "Copy to Remote iTunes");

    const std::string placed = MusicFolder() + "/Abba/Gold/01 Waterloo.mp3";
    const auto other = OtherProgram();
    const ITunesTrackValues copy = TrackIn(*other, placed);
    EXPECT_EQ(copy.playedCount, 7);
    EXPECT_EQ(copy.rating, 80);
    EXPECT_EQ(MacTimeFromOleDate(copy.played), MacTimeFromOleDate(played));
}
