// Carrying out confirmed actions: the replace and delete questions with their kept answers, failures
// and what the run reports for them.

#include "foundation/AProgress.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "support/AStringPrinting.h"
#include "support/RecordingUserInterface.h"
#include "sync/ASync.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

using Tree = std::map<std::string, std::string>;

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;
enum Button { kYes = 0, kNo = 1, kYesToAll = 2, kNoToAll = 3 };
constexpr int64_t kOlder = kBaseUnixTime - 7200;
constexpr int64_t kNewer = kBaseUnixTime + 7200;

std::vector<std::string> Questions(const RecordingUserInterface& user) {
    std::vector<std::string> questions;
    for (const AlertRequest& alert : user.alerts)
        questions.push_back(alert.message.ToUtf8());
    return questions;
}

bool Logged(const AProgress& progress, const std::string& text) {
    return progress.PendingLog().ToUtf8().find(text) != std::string::npos;
}

class Performing : public ::testing::Test {
protected:
    // Directory 1 replaces Directory 2's copy of each file; the target is older or newer as asked.
    void PutReplace(const std::string& name, int64_t targetTime) {
        folders.Put(1, name, "source of " + name);
        folders.Put(2, name, "target", targetTime);
    }

    int PrepareAndPerform(ASync& sync) {
        EXPECT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
        return sync.PerformActions(CancelCallback());
    }

    SyncFolders folders;
    AProgress progress;
    RecordingUserInterface user;
    std::unique_ptr<ASync> sync = folders.MakeSync(kDirection1To2, 0, &progress);
};

// A sync whose copies go wrong in a chosen way.
class FailingCopySync : public ASync {
public:
    enum Mode { kCopy, kFail, kPlaceBeside, kCorrupt };
    using ASync::ASync;

    int CopyEntry(const AString& source, const AString& target, uint32_t targetExists, uint32_t replace,
                  const CancelCallback& cancel, AString& written) override {
        ++copies;
        switch (mode) {
        case kFail:
            return failWith;
        case kPlaceBeside:
            // Like a library that files the song under a name of its own.
            written = target + ".placed";
            return CopyWithProgress(source, written, cancel, nullptr, false);
        case kCorrupt: {
            const int result = ASync::CopyEntry(source, target, targetExists, replace, cancel, written);
            // The same size and time, other bytes: only the contents tell them apart.
            const uint64_t time = GetFileModTime(written);
            WriteText(written.ToUtf8(), std::string(GetFileSize64(source), 'x'));
            SetFileModTime(written, time, false);
            return result;
        }
        default:
            return ASync::CopyEntry(source, target, targetExists, replace, cancel, written);
        }
    }

    Mode mode = kCopy;
    int failWith = 0;
    int copies = 0;
};

} // namespace

TEST_F(Performing, AnOlderTargetAsksReplaceFileANewerOneReplaceNewerFile) {
    PutReplace("a.mp3", kOlder);
    PutReplace("b.mp3", kNewer);
    user.QueueAnswers({kYes, kNo});
    EXPECT_EQ(PrepareAndPerform(*sync), 0);
    EXPECT_EQ(Questions(user), (std::vector<std::string>{"Replace file?", "Replace newer file?"}));
    EXPECT_EQ(user.alerts[0].descriptions[1], folders.Text(1, "a.mp3"));
    EXPECT_EQ(user.alerts[0].descriptions[3], folders.Text(2, "a.mp3"));
    EXPECT_EQ(folders.Tree(2), (Tree{{"a.mp3", "source of a.mp3"}, {"b.mp3", "target"}}));
}

TEST_F(Performing, NoToAllOnReplacingAlsoSkipsNewerTargetsWithoutAsking) {
    PutReplace("a.mp3", kOlder);
    PutReplace("b.mp3", kNewer);
    user.QueueAnswers({kNoToAll});
    EXPECT_EQ(PrepareAndPerform(*sync), 0);
    EXPECT_EQ(Questions(user), std::vector<std::string>{"Replace file?"});
    EXPECT_EQ(folders.Tree(2), (Tree{{"a.mp3", "target"}, {"b.mp3", "target"}}));
    EXPECT_EQ(sync->GetKeptAnswers().replace, kAnswerNoToAll);

    // The answer is kept for the next run of the same sync.
    PutReplace("c.mp3", kOlder);
    EXPECT_EQ(PrepareAndPerform(*sync), 0);
    EXPECT_EQ(Questions(user).size(), 1U);
    EXPECT_EQ(folders.Tree(2).at("c.mp3"), "target");
}

TEST_F(Performing, YesToAllForNewerTargetsLeavesTheOtherQuestion) {
    PutReplace("a.mp3", kNewer);
    PutReplace("b.mp3", kOlder);
    PutReplace("c.mp3", kNewer);
    user.QueueAnswers({kYesToAll, kNo});
    EXPECT_EQ(PrepareAndPerform(*sync), 0);
    EXPECT_EQ(Questions(user), (std::vector<std::string>{"Replace newer file?", "Replace file?"}));
    EXPECT_EQ(folders.Tree(2),
              (Tree{{"a.mp3", "source of a.mp3"}, {"b.mp3", "target"}, {"c.mp3", "source of c.mp3"}}));
}

TEST_F(Performing, AutoReplaceAllAnswersEveryQuestionAtTheStart) {
    sync->SetKeptAnswers({kAnswerNoToAll, kAnswerNoToAll, kAnswerNoToAll});
    sync->SetAutoReplaceAll(1);
    sync->SetShowActionList(0);
    PutReplace("a.mp3", kNewer);
    folders.Put(2, "extra.mp3", "x");
    sync->SetDeleteMode(1);
    EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_EQ(folders.Tree(2), (Tree{{"a.mp3", "source of a.mp3"}}));
}

TEST_F(Performing, DisabledActionsAreNeitherCountedNorPerformed) {
    folders.Put(1, "a.mp3", "a");
    folders.Put(1, "b.mp3", "b");
    ASSERT_EQ(sync->Prepare(CancelCallback(), kBuildBoth, false), 0);
    sync->GetAction(0)->enabled = 0;
    EXPECT_EQ(sync->PerformActions(CancelCallback()), 0);
    EXPECT_EQ(folders.Tree(2), (Tree{{"b.mp3", "b"}}));
    EXPECT_TRUE(Logged(progress, "Action 1 of 1 Copying "));
    EXPECT_FALSE(Logged(progress, " of 2"));
}

TEST_F(Performing, AMissingSourceIsNotFoundAndTheRunGoesOnReportingIt) {
    folders.Put(1, "a.mp3", "a");
    folders.Put(1, "b.mp3", "b");
    ASSERT_EQ(sync->Prepare(CancelCallback(), kBuildBoth, false), 0);
    folders.Remove(1, "a.mp3");
    EXPECT_EQ(sync->PerformActions(CancelCallback()), kErrorFileNotFound);
    EXPECT_EQ(folders.Tree(2), (Tree{{"b.mp3", "b"}}));
    EXPECT_TRUE(Logged(progress, "Failed copying " + folders.Path(1, "a.mp3") + " to " + folders.Path(2, "") +
                                     ": -11160: File not found."));
    EXPECT_TRUE(Logged(progress, "Error: -11160:0: File not found."));
}

TEST_F(Performing, StopOnErrorAsksAndYesEndsTheRun) {
    folders.Put(1, "a.mp3", "a");
    folders.Put(1, "b.mp3", "b");
    sync->SetStopOnError(1);
    ASSERT_EQ(sync->Prepare(CancelCallback(), kBuildBoth, false), 0);
    folders.Remove(1, "a.mp3");
    user.QueueAnswers({kYes});
    EXPECT_EQ(sync->PerformActions(CancelCallback()), kErrorFileNotFound);
    EXPECT_EQ(Questions(user), std::vector<std::string>{"Error occured! Quit operation?"});
    EXPECT_TRUE(folders.Tree(2).empty());
}

TEST(PerformingFailures, AFullVolumeEndsTheRunAtOnce) {
    SyncFolders folders;
    folders.Put(1, "a.mp3", "a");
    folders.Put(1, "b.mp3", "b");
    AProgress progress;
    FailingCopySync sync(&progress);
    folders.SetRoots(sync);
    sync.mode = FailingCopySync::kFail;
    sync.failWith = kErrorNoSpace;
    ASSERT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_EQ(sync.PerformActions(CancelCallback()), kErrorNoSpace);
    EXPECT_EQ(sync.copies, 1);
    EXPECT_TRUE(Logged(progress, "Error: -102394:-102394: Insufficient free space or Volume Full."));
}

TEST(PerformingFailures, VerificationReadsThePathActuallyWritten) {
    for (const auto& [mode, expected] :
         {std::pair{FailingCopySync::kPlaceBeside, 0}, std::pair{FailingCopySync::kCorrupt, -36}}) {
        SyncFolders folders;
        folders.Put(1, "a.mp3", "a song");
        FailingCopySync sync;
        folders.SetRoots(sync);
        sync.mode = mode;
        sync.SetVerifyCopies(1);
        ASSERT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
        EXPECT_EQ(sync.PerformActions(CancelCallback()), expected) << mode;
    }
}
