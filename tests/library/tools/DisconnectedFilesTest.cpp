#include "foundation/ErrorCodes.h"
#include "library/tools/FolderLetterCase.h"
#include "library/tools/SongPathIndex.h"
#include "library/tools/ToolTestLists.h"
#include "support/AStringPrinting.h"

#include <filesystem>

namespace {

class DisconnectedFiles : public ToolTest {
protected:
    void SetUp() override {
        Put("a.mp3", SongTags("Rock", "Abba", "Gold", "Waterloo"));
        Put("b.mp3", SongTags("Rock", "Abba", "Gold", "Fernando"));
    }

    void PutSong(const std::string& name) { Put(name, SongTags("Pop", "New", "Album", name.c_str())); }

    std::vector<std::string> Paths(std::initializer_list<const char*> names) const {
        std::vector<std::string> paths;
        for (const char* name : names)
            paths.push_back(Music(name).ToUtf8());
        return paths;
    }
};

const char* const kDamagedQuestion =
    "A disconnected file was found that iTunes/iPod does not want to accept. Delete the Damaged File?";

} // namespace

// Files of the eight kept types, of 100 bytes or more, that no song names; here a file whose name
// differs from a song's only in letter case is a file of its own, as the file system has it.
TEST_F(DisconnectedFiles, RemoveModeListsAndDeletesTheFilesNoSongNames) {
    Open(folder);
    PutSong("new.mp3");
    PutBytes("tiny.mp3", std::vector<uint8_t>(99, 1));
    PutBytes("hundred.mp3", std::vector<uint8_t>(100, 1));
    PutBytes("clip.wav", std::vector<uint8_t>(500, 1));
    PutBytes("movie.m4v", std::vector<uint8_t>(500, 1));
    PutBytes("Sub/game.ipg", std::vector<uint8_t>(500, 1));
    Put("A.mp3", SongTags("Rock", "Abba", "Gold", "Waterloo"));
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.ScanDisconnectedFiles(0, nullptr, 1), 0);

    const auto shown = LastList();
    EXPECT_EQ(shown.kind, uint32_t(kToolRemoveDisconnectedFiles));
    EXPECT_EQ(shown.title, AString("Remove Disconnected Files "));
    EXPECT_EQ(RowEntries(shown), Paths({"A.mp3", "Sub/game.ipg", "hundred.mp3", "movie.m4v", "new.mp3"}));
    EXPECT_EQ(shown.rows[0].displayText, shown.rows[0].entry);

    for (const char* gone : {"A.mp3", "Sub/game.ipg", "hundred.mp3", "movie.m4v", "new.mp3"})
        EXPECT_FALSE(Exists(gone)) << gone;
    for (const char* kept : {"a.mp3", "b.mp3", "tiny.mp3", "clip.wav"})
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_TRUE(Logged("Removing Disconnected File: " + Music("new.mp3").ToUtf8()));
    EXPECT_TRUE(Logged("Processing List of Songs...\r\n"));
    // The list is not changed by the scan.
    EXPECT_EQ(folder.GetCount(), 2);
}

// On a FAT volume a name is one file in any letter case: the library's "a.mp3" is the disk's "A.mp3".
TEST_F(DisconnectedFiles, PathsCompareAsTheFileSystemComparesNames) {
    EXPECT_FALSE(FolderFoldsLetterCase(Music()));
    Open(folder);
    for (const bool foldCase : {false, true}) {
        SongPathIndex songs(foldCase);
        ASSERT_EQ(songs.Build(folder, nullptr), 0);
        EXPECT_TRUE(songs.IsConnected(Music("a.mp3")));
        EXPECT_EQ(songs.IsConnected(Music("A.mp3")), foldCase);
        EXPECT_FALSE(songs.IsConnected(Music("c.mp3")));
    }
}

TEST_F(DisconnectedFiles, AddModeTakesTheFilesIntoTheList) {
    Open(folder);
    PutSong("new.mp3");
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.ScanDisconnectedFiles(1, nullptr, 1), 0);
    EXPECT_EQ(LastList().title, AString("Add Disconnected Files "));
    EXPECT_EQ(LastList().rows[0].kind, uint32_t(kToolAddDisconnectedFiles));
    EXPECT_TRUE(Exists("new.mp3"));
    EXPECT_EQ(folder.GetCount(), 3);
    EXPECT_TRUE(Logged("Adding Disconnected File: " + Music("new.mp3").ToUtf8()));
    EXPECT_TRUE(Logged("Disconnected File Added: " + Music("new.mp3").ToUtf8()));
    EXPECT_EQ(folder.saves, 1);
}

// The library places a copy in its own layout and lists it: the found file goes. When the library
// refuses the file, its copy goes and the found file is the user's to decide about.
TEST_F(DisconnectedFiles, ALibraryThatCopiesTheFileLeavesNoSecondCopy) {
    StandInList library(&progress, ADir::kTypeTunes);
    Open(library);
    library.placeFolder = Music("Library").ToUtf8();
    PutSong("new.mp3");
    PutSong("bad.mp3");
    library.refused.insert("bad.mp3");
    user.QueueAnswers({1});
    presenter.QueueAnswers({true});
    EXPECT_EQ(library.ScanDisconnectedFiles(1, nullptr, 1), 0);
    EXPECT_EQ(LastList().title, AString("Add Disconnected Files In iTunes - Files to Add"));
    EXPECT_FALSE(Exists("new.mp3"));
    EXPECT_TRUE(Exists("Library/new.mp3"));
    EXPECT_TRUE(Exists("bad.mp3"));
    EXPECT_FALSE(Exists("Library/bad.mp3"));
    EXPECT_EQ(library.GetCount(), 3);
}

// The library names the file it keeps by a path that differs in letter case (a link here, a case-blind
// volume elsewhere): it is the same file, and stays.
TEST_F(DisconnectedFiles, TheFileTheLibraryKeepsIsNeverDeleted) {
    StandInList library(&progress, ADir::kTypeTunes);
    Open(library);
    PutSong("new.mp3");
    std::filesystem::create_symlink("new.mp3", dir.File("music/NEW.MP3.link"));
    library.keptFileOverride = Music("NEW.MP3.link");
    presenter.QueueAnswers({true});
    EXPECT_EQ(library.ScanDisconnectedFiles(1, nullptr, 1), 0);
    EXPECT_TRUE(Exists("new.mp3"));
}

// On an iPod the folder looked through is its "iPod_Control/Music"; the iPod takes a copy of its own.
TEST_F(DisconnectedFiles, OnAnIPodOnlyItsMusicFolderIsLookedThrough) {
    const std::string podMusic = "pod/iPod_Control/Music/F00/";
    WriteSongFile(dir.File(podMusic + "ABCD.mp3"), MakeMp3(SongTags("Rock", "Abba", "Gold", "Waterloo")));
    StandInList pod(&progress, ADir::kTypePodDB);
    const AString root = dir.Text("pod");
    pod.SetKeepRemovedFiles(0);
    ASSERT_EQ(pod.Open(&root, 0, CancelCallback()), 0);
    WriteSongFile(dir.File(podMusic + "EFGH.mp3"), MakeMp3(SongTags("Rock", "Abba", "Gold", "Fernando")));
    WriteSongFile(dir.File("pod/Notes/loose.mp3"), MakeMp3(SongTags("Rock", "Abba", "Gold", "Loose")));
    presenter.QueueAnswers({true});
    EXPECT_EQ(pod.ScanDisconnectedFiles(1, nullptr, 1), 0);
    const auto shown = LastList();
    EXPECT_EQ(shown.title, AString("Add Disconnected Files In iPod - Files to Add"));
    EXPECT_EQ(RowEntries(shown), std::vector<std::string>{dir.File(podMusic + "EFGH.mp3")});
    EXPECT_FALSE(std::filesystem::exists(dir.File(podMusic + "EFGH.mp3")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("pod/iPod_Control/Music/F01/EFGH.mp3")));
}

// A song whose file cannot be named ends the scan: its file would otherwise look disconnected.
TEST_F(DisconnectedFiles, ASongWithoutANameableFileEndsTheScanWithItsError) {
    Open(folder);
    folder.unnamed = {1};
    PutSong("new.mp3");
    EXPECT_EQ(folder.ScanDisconnectedFiles(0, nullptr, 1), kErrorUnknownSongEntry);
    EXPECT_TRUE(Logged("Error Scanning For Disconnected Files!\r\n"));
    EXPECT_TRUE(folder.GetToolActions().empty());
    EXPECT_TRUE(presenter.Shown().empty());
    EXPECT_TRUE(Exists("b.mp3"));
}

TEST_F(DisconnectedFiles, AMusicFolderThatCannotBeReadEndsTheScan) {
    Open(folder);
    std::filesystem::remove_all(dir.File("music"));
    EXPECT_EQ(folder.ScanDisconnectedFiles(0, nullptr, 1), kErrorInvalidPath);
    EXPECT_TRUE(Logged("Error Scanning For Disconnected Files!\r\n"));
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_TRUE(presenter.Shown().empty());
}

TEST_F(DisconnectedFiles, ACancelWhileReadingTheFolderEndsAtOnce) {
    Open(folder);
    PutSong("new.mp3");
    EXPECT_EQ(folder.ScanDisconnectedFiles(
                  0, [] { return 1; }, 1),
              kUserCancel);
    EXPECT_TRUE(Logged("User Cancelled.\r\n"));
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_TRUE(folder.GetToolActions().empty());
}

struct DamagedCase {
    std::vector<int> buttons; // 0 Yes, 1 No, 2 Yes to All, 3 No to All, -1 closed without an answer
    std::vector<bool> deleted;
    size_t questions;
    size_t damagedLines;
};

class DamagedFiles : public DisconnectedFiles, public ::testing::WithParamInterface<DamagedCase> {};

// A file the library refuses is no error: Yes and Yes to All delete it; No, No to All and a box
// closed without an answer keep it. A remembered answer is not asked again.
TEST_P(DamagedFiles, TheUserDecidesWhatBecomesOfAFileTheLibraryRefuses) {
    const DamagedCase& c = GetParam();
    StandInList library(&progress, ADir::kTypeTunes);
    Open(library);
    const char* names[] = {"bad1.mp3", "bad2.mp3", "bad3.mp3"};
    for (const char* name : names) {
        PutSong(name);
        library.refused.insert(name);
    }
    for (int button : c.buttons)
        user.QueueAnswers({button});
    presenter.QueueAnswers({true});
    EXPECT_EQ(library.ScanDisconnectedFiles(1, nullptr, 1), 0);

    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(!Exists(names[i]), c.deleted[i]) << names[i];
    ASSERT_EQ(user.alerts.size(), c.questions);
    EXPECT_EQ(user.alerts[0].message, AString(kDamagedQuestion));
    EXPECT_EQ(user.alerts[0].descriptions[1], Music("bad1.mp3"));
    size_t damagedLines = 0;
    for (size_t at = 0; (at = Log().find("Disconnected Damaged File: ", at)) != std::string::npos; ++at)
        ++damagedLines;
    EXPECT_EQ(damagedLines, c.damagedLines);
    EXPECT_TRUE(Logged("Actions completed.\r\n"));
    EXPECT_EQ(library.GetCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Answers, DamagedFiles,
                         ::testing::Values(DamagedCase{{0, 1, -1}, {true, false, false}, 3, 3},
                                           DamagedCase{{2}, {true, true, true}, 1, 3},
                                           DamagedCase{{1, 3}, {false, false, false}, 2, 2}));
