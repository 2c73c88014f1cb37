#include "foundation/ErrorCodes.h"
#include "library/tools/ToolTestLists.h"
#include "support/AStringPrinting.h"

namespace {

class RemoveOrphans : public ToolTest {
protected:
    void SetUp() override {
        Put("a.mp3", SongTags("Rock", "Abba", "Gold", "Waterloo"));
        Put("b.mp3", SongTags("Rock", "Abba", "Gold", "Fernando"));
        Put("c.mp3", SongTags("Rock", "Abba", "Gold", "Chiquitita"));
    }
};

class RemoveMusicNotOwned : public ToolTest {
protected:
    void PutProtected(const std::string& name, const char* title, const char* account) {
        TestSongTags tags = SongTags("Pop", "Seller", "Store", title);
        tags.account = account;
        PutBytes(name, MakeMp4(tags, 400));
    }
};

} // namespace

TEST_F(RemoveOrphans, EntriesWhoseFileIsGoneLeaveTheLibrary) {
    StandInList library(&progress, ADir::kTypeTunes);
    Open(library);
    RemoveFile("b.mp3");
    presenter.QueueAnswers({true});
    EXPECT_EQ(library.RemoveOrphans(nullptr, 1), 0);

    const auto shown = LastList();
    EXPECT_EQ(shown.kind, uint32_t(kToolRemoveOrphans));
    EXPECT_EQ(shown.title, AString("Remove Orphans From iTunes - Entries to Remove"));
    ASSERT_EQ(shown.rows.size(), 1u);
    const SongToolAction& row = shown.rows[0];
    EXPECT_EQ(row.entry, AString("\\Rock\\Abba\\Gold\\Fernando\\mp3?1"));
    EXPECT_EQ(row.displayText, Shown(library, "Rock; Abba; Gold; Fernando; mp3"));
    EXPECT_EQ(row.checked, 1u);
    EXPECT_EQ(shown.keptRows, std::vector<int>{-1});
    EXPECT_TRUE(row.detail.IsEmpty());

    EXPECT_EQ(library.deletedTitles, std::vector<std::string>{"Fernando"});
    EXPECT_TRUE(Logged("Removing Orphan: " + row.displayText.ToUtf8()));
    EXPECT_TRUE(Logged("Actions completed.\r\n"));
    EXPECT_TRUE(Exists("a.mp3") && Exists("c.mp3"));
    EXPECT_EQ(library.saves, 1);
}

// An entry the list cannot name a file for is an orphan, not an error.
TEST_F(RemoveOrphans, AnEntryWithoutANameableFileIsAnOrphan) {
    Open(folder);
    folder.unnamed = {2};
    EXPECT_EQ(folder.RemoveOrphans(nullptr, 1), kUserCancel);
    EXPECT_EQ(RowEntries(LastList()), std::vector<std::string>{"\\Rock\\Abba\\Gold\\Chiquitita\\mp3?2"});
    EXPECT_EQ(LastList().title, AString("Remove Orphans "));
}

TEST_F(RemoveMusicNotOwned, ProtectedSongsOfOtherAccountsAreListedAndDeleted) {
    PutProtected("mine.m4p", "Mine", "me@home.com");
    PutProtected("part.m4p", "Part", "me");
    PutProtected("theirs.m4p", "Theirs", "them@else.com");
    PutProtected("shout.M4P", "Shout", "x@y.org");
    PutProtected("open.m4a", "Open", "them@else.com");
    PutProtected("free.m4p", "Free", "");
    StandInList pod(&progress, ADir::kTypePodDB);
    Open(pod);
    pod.SetAllowedAppleIDs(AString(":me@home.com:"));
    presenter.QueueAnswers({true});
    EXPECT_EQ(pod.RemoveMusicNotOwned(1, nullptr, 1), 0);

    const auto shown = LastList();
    EXPECT_EQ(shown.title, AString("Remove Music Not Owned From iPod - Songs to Remove"));
    ASSERT_EQ(shown.rows.size(), 2u);
    EXPECT_EQ(shown.rows[0].kind, uint32_t(kToolRemoveMusicNotOwned));
    EXPECT_EQ(pod.TitleOf(shown.rows[0].entry), "Shout");
    EXPECT_EQ(shown.rows[0].detail, AString("x@y.org"));
    EXPECT_EQ(pod.TitleOf(shown.rows[1].entry), "Theirs");
    EXPECT_EQ(shown.rows[1].detail, AString("them@else.com"));

    EXPECT_FALSE(Exists("theirs.m4p"));
    EXPECT_FALSE(Exists("shout.M4P"));
    for (const char* kept : {"mine.m4p", "part.m4p", "open.m4a", "free.m4p"})
        EXPECT_TRUE(Exists(kept)) << kept;
    EXPECT_TRUE(Logged("Removing Unowned Music: " + shown.rows[1].displayText.ToUtf8()));
}

// Nothing tells the user's own purchases from others' while no Apple ID of the user is known.
TEST_F(RemoveMusicNotOwned, WithoutAKnownAppleIDNothingIsListedAndTheUserIsTold) {
    PutProtected("mine.m4p", "Mine", "me@home.com");
    PutProtected("free.m4p", "Free", "");
    Open(folder);
    for (const char* accounts : {"", ":", "::"}) {
        folder.SetAllowedAppleIDs(AString(accounts));
        user.messages.clear();
        EXPECT_EQ(folder.RemoveMusicNotOwned(1, nullptr, 1), 0) << accounts;
        EXPECT_TRUE(presenter.Shown().empty());
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.messages[0].Find("No Apple ID is known yet"), 0);
    }
    EXPECT_TRUE(Exists("mine.m4p"));
}

// The error of an entry is that of naming its file; the question comes before the next entry, and an
// error at the last entry ends the scan.
TEST_F(RemoveMusicNotOwned, AnUnnamedFileIsAnErrorAskedAboutBeforeTheNextEntry) {
    PutProtected("a.m4p", "A", "them@else.com");
    PutProtected("b.m4p", "B", "them@else.com");
    Open(folder);
    folder.SetAllowedAppleIDs(AString(":me@home.com:"));
    folder.unnamed = {0};
    user.QueueAnswers({1});
    EXPECT_EQ(folder.RemoveMusicNotOwned(1, nullptr, 1), kUserCancel);
    EXPECT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(LastList().rows.size(), 1u);

    folder.unnamed = {1};
    user.alerts.clear();
    EXPECT_EQ(folder.RemoveMusicNotOwned(1, nullptr, 1), kErrorUnknownSongEntry);
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_TRUE(Logged("Error Deleting Music Not Owned!\r\n"));
}
