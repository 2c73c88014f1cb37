// How a sync run ends: failed actions are counted, named in the log and make the run fail; a cancel
// stays a cancel; only a run with nothing failed says it completed.

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "support/RecordingUserInterface.h"
#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncFolders.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Tree = std::map<std::string, std::string>;

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;
constexpr int kButtonYes = 0;

bool Logged(const AProgress& progress, const std::string& text) {
    return progress.PendingLog().ToUtf8().find(text) != std::string::npos;
}

class RunOutcome : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
            folders.Put(1, name, name);
        sync->SetPresenter(&presenter);
    }

    // The user confirms the list, and meanwhile these files of Directory 1 go.
    std::vector<std::string> goneWhileShown;
    SyncFolders folders;
    AProgress progress;
    RecordingUserInterface user;
    std::unique_ptr<ASync> sync = folders.MakeSync(kDirection1To2, 0, &progress);
    HeadlessActionPresenter presenter{[this](ASync&, const SyncActionTexts&) {
        for (const std::string& name : goneWhileShown)
            folders.Remove(1, name);
        return true;
    }};
};

} // namespace

TEST_F(RunOutcome, FailedActionsAreCountedNamedAndMakeTheRunFail) {
    goneWhileShown = {"b.mp3", "d.mp3"};
    EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), kErrorActionsFailed);
    EXPECT_EQ(folders.Tree(2), (Tree{{"a.mp3", "a.mp3"}, {"c.mp3", "c.mp3"}}));
    for (const char* name : {"b.mp3", "d.mp3"})
        EXPECT_TRUE(Logged(progress, "Failed copying " + folders.Path(1, name) + " to " +
                                         folders.Path(2, "") + ": -11160: File not found."))
            << name;
    EXPECT_TRUE(Logged(progress, "2 of 4 actions failed."));
    EXPECT_FALSE(Logged(progress, "Sync completed."));
    EXPECT_EQ(sync->GetActionTally().failed, 2);
}

// "Stop on an Error" answered Yes ends the run after the first failure, which still counts.
TEST_F(RunOutcome, AStopAfterAFailureEndsTheRunAsAFailure) {
    goneWhileShown = {"a.mp3"};
    sync->SetStopOnError(1);
    user.QueueAnswers({kButtonYes});
    EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), kErrorActionsFailed);
    EXPECT_TRUE(folders.Tree(2).empty());
    EXPECT_TRUE(Logged(progress, "1 of 4 actions failed."));
    EXPECT_FALSE(Logged(progress, "Sync completed."));
}

TEST_F(RunOutcome, ACancelStaysACancelAndARunWithoutFailuresCompletes) {
    const std::string firstCopy = folders.Path(2, "a.mp3");
    const CancelCallback cancel = [&] { return std::filesystem::exists(firstCopy); };
    EXPECT_EQ(sync->Sync(cancel, kBuildBoth, false), kUserCancel);
    EXPECT_EQ(folders.Tree(2), (Tree{{"a.mp3", "a.mp3"}}));
    EXPECT_TRUE(Logged(progress, "Sync terminated by user cancel."));
    EXPECT_FALSE(Logged(progress, "Sync completed."));
    EXPECT_FALSE(Logged(progress, "failed"));

    EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_EQ(folders.Tree(2).size(), 4U);
    EXPECT_TRUE(Logged(progress, "Sync completed."));
}
