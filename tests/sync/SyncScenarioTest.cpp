// Two folders through a user's week: a merge, two syncs with deletions, making one side equal to the
// other, a run with nothing to do and an action list the user refuses, with the files on disk checked
// after every step.

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADir.h"
#include "support/RecordingUserInterface.h"
#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

using Tree = std::map<std::string, std::string>;

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;
constexpr int kButtonYes = 0;

class SyncScenario : public ::testing::Test {
protected:
    void SetUp() override {
        sync = folders.MakeSync(kDirectionBoth, 0, &progress);
        sync->SetPresenter(&presenter);
    }

    int Run() {
        shown.clear();
        return sync->Sync(CancelCallback(), kBuildBoth, false);
    }

    SyncFolders folders;
    AProgress progress;
    RecordingUserInterface user;
    std::unique_ptr<ASync> sync;
    std::vector<std::string> shown;
    bool confirm = true;
    HeadlessActionPresenter presenter{[this](ASync& s, const SyncActionTexts&) {
        shown = ActionLines(s, folders);
        return confirm;
    }};
};

} // namespace

TEST_F(SyncScenario, AWeekOfSyncsKeepsBothFoldersInStep) {
    folders.Put(1, "a.mp3", "song a");
    folders.Put(1, "sub/b.mp3", "song b");
    folders.Put(2, "c.mp3", "song c");

    // Merge: everything goes everywhere, nothing is deleted.
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"1 code 1 [1:a.mp3] [2:]", "0 code 1 [1:] [2:c.mp3]",
                                               "7 code 4 [1:sub] [2:]", "1 code 1 [1:sub/b.mp3] [2:sub/]"}));
    const Tree merged = {{"a.mp3", "song a"}, {"c.mp3", "song c"}, {"sub/", ""}, {"sub/b.mp3", "song b"}};
    EXPECT_EQ(folders.Tree(1), merged);
    EXPECT_EQ(folders.Tree(2), merged);

    // Sync: a new file travels, and the snapshots remember both sides.
    sync->SetDeleteMode(1);
    folders.Put(2, "d.mp3", "song d");
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"0 code 1 [1:] [2:d.mp3]"}));
    EXPECT_EQ(folders.Tree(1), folders.Tree(2));

    // Sync again after a deletion on one side: exactly one delete, nothing copied back.
    folders.Remove(1, "a.mp3");
    user.QueueAnswers({kButtonYes});
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"3 code 2 [] [2:a.mp3]"}));
    const Tree synced = {{"c.mp3", "song c"}, {"d.mp3", "song d"}, {"sub/", ""}, {"sub/b.mp3", "song b"}};
    EXPECT_EQ(folders.Tree(1), synced);
    EXPECT_EQ(folders.Tree(2), synced);
    ASSERT_EQ(user.alerts.size(), 1U);
    EXPECT_EQ(user.alerts[0].message, "Delete file?");

    // Make Directory 2 equal to Directory 1: its extra file and folder go, a changed file is replaced.
    sync->SetDirection(kDirection1To2);
    folders.Put(2, "extra/e.mp3", "song e");
    folders.Put(1, "c.mp3", "song c, remastered", kBaseUnixTime + 7200);
    user.QueueAnswers({kButtonYes, kButtonYes});
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"5 code 3 [1:c.mp3] [2:c.mp3]", "3 code 2 [] [2:extra/e.mp3]",
                                               "9 code 5 [] [2:extra]"}));
    EXPECT_EQ(folders.Tree(2), folders.Tree(1));
    EXPECT_EQ(folders.Tree(1).at("c.mp3"), "song c, remastered");

    // Nothing left to do.
    user.messages.clear();
    ASSERT_EQ(Run(), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(user.messages, std::vector<AString>{AString("Nothing to Sync!")});

    // A refused action list changes nothing.
    folders.Put(1, "f.mp3", "song f");
    const Tree before1 = folders.Tree(1);
    const Tree before2 = folders.Tree(2);
    confirm = false;
    EXPECT_EQ(Run(), kUserCancel);
    EXPECT_EQ(shown, (std::vector<std::string>{"1 code 1 [1:f.mp3] [2:]"}));
    EXPECT_EQ(folders.Tree(1), before1);
    EXPECT_EQ(folders.Tree(2), before2);
    EXPECT_NE(progress.PendingLog().ToUtf8().find("User cancelled."), std::string::npos);
}

TEST_F(SyncScenario, WithoutTheListShownTheActionsArePerformedAtOnce) {
    sync->SetShowActionList(0);
    folders.Put(1, "a.mp3", "song a");
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(presenter.GetShownCount(), 0);
    EXPECT_EQ(folders.Tree(2), folders.Tree(1));
}

TEST_F(SyncScenario, ACancelAfterTheListIsConfirmedPerformsNothing) {
    folders.Put(1, "a.mp3", "song a");
    const CancelCallback stopOnceShown = [this] { return presenter.GetShownCount() > 0 ? 1 : 0; };
    EXPECT_EQ(sync->Sync(stopOnceShown, kBuildBoth, false), kUserCancel);
    EXPECT_EQ(presenter.GetShownCount(), 1);
    EXPECT_TRUE(folders.Tree(2).empty());
}

TEST_F(SyncScenario, EditedRowsArePerformedAsTheUserLeftThem) {
    folders.Put(1, "keep.mp3", "k");
    folders.Put(1, "skip.mp3", "s");
    folders.Put(2, "gone.mp3", "g");
    sync->SetDeleteMode(1);
    presenter = HeadlessActionPresenter([](ASync& s, const SyncActionTexts&) {
        // Rows: copy gone.mp3 to 1, copy keep.mp3 to 2, copy skip.mp3 to 2.
        s.ChangeAction(*s.GetAction(0), kChangeCopyTo1ToDelete);
        s.GetAction(2)->enabled = 0;
        return true;
    });
    user.QueueAnswers({kButtonYes});
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(folders.Tree(1), (Tree{{"keep.mp3", "k"}, {"skip.mp3", "s"}}));
    EXPECT_EQ(folders.Tree(2), (Tree{{"keep.mp3", "k"}}));
}
