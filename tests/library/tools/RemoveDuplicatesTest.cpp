#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/tools/ToolTestLists.h"
#include "support/AStringPrinting.h"

#include <filesystem>

namespace {

constexpr int64_t kSameTime = 1000000;

class RemoveDuplicates : public ToolTest {
protected:
    // Copies of one song; the larger a copy's number of frames, the larger its file.
    void PutCopy(const std::string& name, int audioFrames) {
        TestSongTags tags = SongTags("Pop", "Abba", "Gold", "Fernando");
        tags.audioFrames = audioFrames;
        Put(name, tags);
        ASSERT_EQ(SetFileModTime(Music(name), UnixToMacTime(kSameTime), false), 0);
    }

    std::vector<uint32_t> Field(const HeadlessToolActionPresenter::ShownList& list,
                                uint32_t SongToolAction::*field) const {
        std::vector<uint32_t> values;
        for (const SongToolAction& row : list.rows)
            values.push_back(row.*field);
        return values;
    }
};

} // namespace

// Walked from the end, the group's rows run E3, E2, E1; the rule keeps E1, the largest, at the last pair.
TEST_F(RemoveDuplicates, ARunOfCopiesIsOneGroupWhoseKeepTheRuleMoves) {
    PutCopy("e1.mp3", 6);
    PutCopy("e2.mp3", 4);
    PutCopy("e3.mp3", 4);
    Open(folder);
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.FindDuplicates(1, 0, 0, nullptr, 1), 0);

    const auto shown = LastList();
    EXPECT_TRUE(shown.duplicates);
    EXPECT_EQ(shown.title, AString("Remove Duplicates "));
    EXPECT_EQ(RowEntries(shown), (std::vector<std::string>{"\\Pop\\Abba\\Gold\\Fernando\\mp3?2",
                                                           "\\Pop\\Abba\\Gold\\Fernando\\mp3?1",
                                                           "\\Pop\\Abba\\Gold\\Fernando\\mp3?0"}));
    EXPECT_EQ(Field(shown, &SongToolAction::entryIndex), (std::vector<uint32_t>{2, 1, 0}));
    EXPECT_EQ(Field(shown, &SongToolAction::group), (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(Field(shown, &SongToolAction::keep), (std::vector<uint32_t>{0, 0, 1}));
    EXPECT_EQ(shown.keptRows, (std::vector<int>{2, 2, -1}));
    EXPECT_EQ(shown.rows[0].displayText, Shown(folder, "Pop; Abba; Gold; Fernando; mp3"));
    EXPECT_EQ(shown.rows[2].fullPath, Music("e1.mp3"));
    EXPECT_EQ(shown.rows[2].fileSize, GetFileSize64(Music("e1.mp3")));
    EXPECT_EQ(shown.rows[2].fileDate, UnixToMacTime(kSameTime));

    EXPECT_FALSE(Exists("e2.mp3"));
    EXPECT_FALSE(Exists("e3.mp3"));
    EXPECT_TRUE(Exists("e1.mp3"));
    EXPECT_EQ(folder.GetCount(), 1);
    EXPECT_EQ(*folder.GetEntry(0), AString("\\Pop\\Abba\\Gold\\Fernando\\mp3?0"));
    EXPECT_TRUE(Logged("Removing Duplicate: " + Shown(folder, "Pop; Abba; Gold; Fernando; mp3").ToUtf8()));
    EXPECT_TRUE(Logged("Actions completed.\r\n"));
    EXPECT_EQ(folder.saves, 1);
}

TEST_F(RemoveDuplicates, GroupsAreNumberedInTheOrderFoundAndADifferenceClosesOne) {
    Put("a1.mp3", SongTags("Pop", "A", "X", "Same"));
    Put("a2.mp3", SongTags("Pop", "A", "X", "Same"));
    Put("b.mp3", SongTags("Pop", "B", "X", "Other"));
    Put("c1.mp3", SongTags("Pop", "C", "X", "Same"));
    Put("c2.mp3", SongTags("Pop", "C", "X", "Same"));
    Open(folder);
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), kUserCancel);
    const auto shown = LastList();
    EXPECT_EQ(Field(shown, &SongToolAction::group), (std::vector<uint32_t>{1, 1, 2, 2}));
    EXPECT_EQ(shown.keptRows[1], 0);
    EXPECT_EQ(shown.keptRows[3], 2);
    EXPECT_TRUE(Logged("User cancelled.\r\n"));
    EXPECT_EQ(folder.GetCount(), 5);
}

// Two names of one file (a hard link whose name differs only in case) are one file: the later entry is
// kept without asking the rule, and removing the other entry leaves the file.
TEST_F(RemoveDuplicates, EntriesOfOneFileLoseAnEntryButNeverTheFile) {
    PutCopy("song.mp3", 4);
    std::filesystem::create_hard_link(dir.File("music/song.mp3"), dir.File("music/SONG.mp3"));
    Open(folder);
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), 0);
    EXPECT_EQ(LastList().keptRows, (std::vector<int>{-1, 0}));
    EXPECT_TRUE(Exists("song.mp3"));
    EXPECT_TRUE(Exists("SONG.mp3"));
    EXPECT_EQ(folder.GetCount(), 1);
}

// Paths that differ only in letter case name two files here: the rule decides, and the loser goes.
TEST_F(RemoveDuplicates, FilesWhoseNamesDifferInCaseAreTwoCopies) {
    PutCopy("song.mp3", 4);
    PutCopy("SONG.mp3", 6);
    Open(folder);
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), 0);
    EXPECT_TRUE(Exists("SONG.mp3"));
    EXPECT_FALSE(Exists("song.mp3"));
}

TEST_F(RemoveDuplicates, TheKeepTheUserChoosesIsTheOneThatStays) {
    PutCopy("e1.mp3", 6);
    PutCopy("e2.mp3", 4);
    PutCopy("e3.mp3", 4);
    Open(folder);
    presenter.SetEdit([](SongToolActions& rows) { MakeKeptRow(rows, 0); });
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), 0);
    EXPECT_TRUE(Exists("e3.mp3"));
    EXPECT_FALSE(Exists("e2.mp3"));
    EXPECT_FALSE(Exists("e1.mp3"));
}

// A newcomer whose file cannot be named is asked about before the next pair.
TEST_F(RemoveDuplicates, AnUnnamedNewcomerIsAskedAboutBeforeTheNextPair) {
    for (const char* name : {"e0.mp3", "e1.mp3", "e2.mp3", "e3.mp3"})
        PutCopy(name, 4);
    Open(folder);
    folder.unnamed = {1};
    user.QueueAnswers({0}); // Yes: quit
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), kErrorUnknownSongEntry);
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(user.alerts[0].message, AString("Error occured! Quit operation?"));
    EXPECT_TRUE(Logged("Error Finding Duplicates!\r\n"));
    EXPECT_TRUE(presenter.Shown().empty());

    user.QueueAnswers({1}); // No: go on; the next newcomer clears the error
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), kUserCancel);
    EXPECT_EQ(LastList().rows.size(), 3u);

    // An error at the last pair ends the scan without a question.
    folder.unnamed = {0};
    user.alerts.clear();
    EXPECT_EQ(folder.RemoveDuplicates(nullptr, 1), kErrorUnknownSongEntry);
    EXPECT_TRUE(user.alerts.empty());
}

// While no Apple ID of the user is known, an account name counts neither for nor against a copy: the
// user's own purchase, the larger copy here, is kept by both scans.
TEST_F(RemoveDuplicates, WithoutAKnownAppleIDAPurchaseIsKeptLikeAnyCopy) {
    TestSongTags bought = SongTags("Pop", "Seller", "Store", "Song");
    bought.account = "me@home.com";
    PutBytes("bought.m4p", MakeMp4(bought, 800));
    PutBytes("plain.m4p", MakeMp4(SongTags("Pop", "Seller", "Store", "Song"), 400));
    for (const char* name : {"bought.m4p", "plain.m4p"})
        ASSERT_EQ(SetFileModTime(Music(name), UnixToMacTime(kSameTime), false), 0);

    Open(folder);
    EXPECT_EQ(folder.FindDuplicates(0, 1, 1, nullptr, 0), 0);
    ASSERT_EQ(folder.GetCount(), 1);
    AString kept;
    ASSERT_EQ(folder.GetFullPath(*folder.GetEntry(0), kept, 1), 0);
    EXPECT_EQ(kept, Music("bought.m4p"));

    Open(folder);
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.FindDuplicates(1, 0, 0, nullptr, 1), 0);
    EXPECT_TRUE(Exists("bought.m4p"));
    EXPECT_FALSE(Exists("plain.m4p"));
}
