// Each test here shows one way a sync could lose or wrongly change a user's files, and that it does not.

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RemoteFileCache.h"
#include "support/RecordingUserInterface.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/ScriptedSources.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
using Tree = std::map<std::string, std::string>;

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;
constexpr int kButtonYes = 0;
constexpr int kButtonNo = 1;

int PrepareBoth(ASync& sync) {
    return sync.Prepare(CancelCallback(), kBuildBoth, false);
}

bool Logged(const AProgress& progress, const char* text) {
    return progress.PendingLog().ToUtf8().find(text) != std::string::npos;
}

bool Confirm(ASync&, const SyncActionTexts&) {
    return true;
}

} // namespace

// The snapshots of both sides remember c; c has gone from Directory 2 and a is new in Directory 1. The
// deletion must reach Directory 1 whatever entries come before c.
TEST(SyncFaults, ADeletionIsCarriedOverAndNeverCopiedBack) {
    for (int deletedOn : {1, 2}) {
        SCOPED_TRACE(deletedOn);
        const int other = 3 - deletedOn;
        SyncFolders folders;
        folders.Put(1, "c.mp3", "c");
        folders.Put(2, "c.mp3", "c");
        const auto sync = folders.MakeSync(kDirectionBoth, 1);
        folders.TakeSnapshots(*sync);
        folders.Remove(deletedOn, "c.mp3");
        folders.Put(other, "a.mp3", "a");
        ASSERT_EQ(PrepareBoth(*sync), 0);
        const Lines expected = deletedOn == 2 ? Lines{"1 code 1 [1:a.mp3] [2:]", "2 code 2 [1:c.mp3] []"}
                                              : Lines{"0 code 1 [1:] [2:a.mp3]", "3 code 2 [] [2:c.mp3]"};
        EXPECT_EQ(ActionLines(*sync, folders), expected);
    }
}

TEST(SyncFaults, AListThatCannotBeBuiltDecidesNothing) {
    SyncFolders folders;
    folders.Put(2, "keep.mp3", "k");
    folders.Remove(1, "");
    AProgress progress;
    const auto sync = folders.MakeSync(kDirection1To2, 1, &progress);
    HeadlessActionPresenter presenter(Confirm);
    sync->SetPresenter(&presenter);
    EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), kErrorInvalidPath);
    EXPECT_EQ(sync->GetActionCount(), 0);
    EXPECT_EQ(presenter.GetShownCount(), 0);
    EXPECT_EQ(folders.Tree(2), (Tree{{"keep.mp3", "k"}}));
    EXPECT_TRUE(Logged(progress, "Error building directory: -5: Invalid path."));
}

TEST(SyncFaults, ACancelledBuildDecidesNothing) {
    SyncFolders folders;
    folders.Put(1, "a.mp3", "a");
    folders.Put(2, "b.mp3", "b");
    const auto sync = folders.MakeSync(kDirection1To2, 1);
    EXPECT_EQ(sync->Prepare([] { return 1; }, kBuildBoth, false), kUserCancel);
    EXPECT_EQ(sync->GetActionCount(), 0);
}

TEST(SyncFaults, NestedOrEqualRootsAreRefusedBeforeAnythingIsDecided) {
    SyncFolders folders;
    folders.Put(1, "inner/a.mp3", "a");
    for (const char* root2 : {"", "inner"}) {
        SCOPED_TRACE(root2);
        auto sync = folders.MakeSync(kDirection2To1, 1);
        const AString root = folders.Text(1, root2);
        sync->BuildList2(&root, CancelCallback(), false, false);
        EXPECT_EQ(PrepareBoth(*sync), kErrorInvalidPath);
        EXPECT_EQ(sync->GetActionCount(), 0);
        EXPECT_EQ(sync->GetDirectory1().GetCount(), 0);
    }
}

// Both sides lost old.mp3 by hand. Were the snapshots left as they were, a new old.mp3 in Directory 1
// would later be taken for one deleted from Directory 2, and deleted.
TEST(SyncFaults, NothingToSyncStillRefreshesTheSnapshots) {
    SyncFolders folders;
    for (int side : {1, 2}) {
        folders.Put(side, "a.mp3", "a");
        folders.Put(side, "old.mp3", "o");
    }
    RecordingUserInterface user;
    const auto sync = folders.MakeSync(kDirectionBoth, 1);
    folders.TakeSnapshots(*sync);
    folders.Remove(1, "old.mp3");
    folders.Remove(2, "old.mp3");
    ASSERT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_EQ(user.messages, std::vector<AString>{AString("Nothing to Sync!")});
    EXPECT_EQ(sync->GetSnapshot2().GetCount(), 1);

    folders.Put(1, "old.mp3", "a new song by an old name");
    ASSERT_EQ(PrepareBoth(*sync), 0);
    EXPECT_EQ(ActionLines(*sync, folders), Lines{"1 code 1 [1:old.mp3] [2:]"});
}

TEST(SyncFaults, ADatabaseThatCannotBeWrittenIsTheResultAndKeepsTheSnapshots) {
    SyncFolders folders;
    folders.Put(1, "a.mp3", "a");
    AProgress progress;
    ScriptedSync sync(&progress);
    sync.UseScriptedLists(ADir::kTypeDir, ADir::kTypeDir);
    sync.SetDirection(kDirectionBoth);
    sync.SetDeleteMode(1);
    HeadlessActionPresenter presenter(Confirm);
    sync.SetPresenter(&presenter);
    folders.SetRoots(sync);
    sync.List(2).databaseResult = kErrorInvalidElement;
    sync.Snapshot(2).AddEntry(AString("remembered.mp3"), 0);

    EXPECT_EQ(sync.Sync(CancelCallback(), kBuildBoth, false), kErrorInvalidElement);
    EXPECT_EQ(folders.Tree(2), (Tree{{"a.mp3", "a"}}));
    EXPECT_EQ(sync.List(1).databaseWrites, 1);
    EXPECT_EQ(sync.Snapshot(2).GetCount(), 1);
    EXPECT_EQ(*sync.Snapshot(2).GetEntry(0), "remembered.mp3");
    EXPECT_TRUE(Logged(progress, "Failed saving the database of "));
    EXPECT_TRUE(Logged(progress, "Error: -2: Invalid element."));
    EXPECT_FALSE(Logged(progress, "Sync completed."));
}

TEST(SyncFaults, ASnapshotOfAnotherPlaceOrDeviceIsNotUsed) {
    struct Case {
        const char* name;
        std::string snapshotDevice;
        std::string listDevice;
        bool otherRoot;
        Lines expected;
    };
    const Lines deleted = {"3 code 2 [] [2:x.mp3]"};
    const Lines copied = {"0 code 1 [1:] [2:x.mp3]"};
    const Case cases[] = {
        {"same place and device", "A1B2C3D4", "A1B2C3D4", false, deleted},
        {"another device", "A1B2C3D4", "99999999", false, copied},
        {"an unknown device", "00000000", "00000000", false, copied},
        {"another place", "", "", true, copied},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        SyncFolders folders;
        folders.Put(2, "x.mp3", "x");
        ScriptedSync sync;
        sync.UseScriptedLists(ADir::kTypeDir, ADir::kTypeDir);
        sync.SetDirection(kDirectionBoth);
        sync.SetDeleteMode(1);
        folders.SetRoots(sync);
        // The last sync saw x.mp3 in Directory 1; it has gone since.
        sync.Snapshot(1).AddEntry(AString("x.mp3"), 0);
        sync.Snapshot(1).deviceId = item.snapshotDevice;
        sync.List(1).deviceId = item.listDevice;
        if (item.otherRoot)
            sync.Snapshot(1).SetRootPath(AString("/somewhere/else/"));
        ASSERT_EQ(PrepareBoth(sync), 0);
        EXPECT_EQ(ActionLines(sync, folders), item.expected);
    }
}

TEST(SyncFaults, ANewRootEmptiesItsSnapshot) {
    ASync sync;
    const AString root("/music/one/");
    sync.BuildList1(&root, CancelCallback(), false, false);
    sync.GetSnapshot1().AddEntry(AString("a.mp3"), 0);
    sync.GetSnapshot2().AddEntry(AString("b.mp3"), 0);
    sync.BuildList1(&root, CancelCallback(), false, false);
    EXPECT_EQ(sync.GetSnapshot1().GetCount(), 1);
    const AString otherRoot("/music/other/");
    sync.BuildList1(&otherRoot, CancelCallback(), false, false);
    EXPECT_EQ(sync.GetSnapshot1().GetCount(), 0);
    EXPECT_EQ(sync.GetSnapshot1().GetRootPath(), otherRoot);
    EXPECT_EQ(sync.GetSnapshot2().GetCount(), 1);
}

// An entry without a name would stand for its side's root folder: a delete of it would take the whole
// side.
TEST(SyncFaults, AnEntryWithoutANameGetsNoAction) {
    ASync sync;
    sync.SetDeleteMode(1);
    const AString root1("/music/one/");
    const AString root2("/music/two/");
    sync.BuildList1(&root1, CancelCallback(), false, false);
    sync.BuildList2(&root2, CancelCallback(), false, false);
    sync.GetDirectory2().AddEntry(AString(), 1);
    sync.GetDirectory2().AddEntry(AString("b.mp3"), 0);
    ASSERT_EQ(sync.CalculateOneWay(sync.GetDirectory1(), sync.GetDirectory2(), CancelCallback(), false), 0);
    ASSERT_EQ(sync.GetActionCount(), 1);
    EXPECT_EQ(sync.GetAction(0)->pathA, "/music/two/b.mp3");
}

// "..." once stood for the end of a list; a file of that name is a file like any other.
TEST(SyncFaults, AFileNamedLikeTheEndMarkerIsSynced) {
    SyncFolders folders;
    folders.Put(1, "...", "dots");
    folders.Put(1, "a.mp3", "a");
    folders.Put(2, "zz.mp3", "z");
    const auto sync = folders.MakeSync(kDirectionBoth, 0);
    HeadlessActionPresenter presenter(Confirm);
    sync->SetPresenter(&presenter);
    ASSERT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), 0);
    const Tree all = {{"...", "dots"}, {"a.mp3", "a"}, {"zz.mp3", "z"}};
    EXPECT_EQ(folders.Tree(1), all);
    EXPECT_EQ(folders.Tree(2), all);
}

TEST(SyncFaults, NamesThatDifferOnlyInLetterCaseAreLeftAlone) {
    SyncFolders folders;
    folders.Put(1, "Song.mp3", "one");
    folders.Put(1, "song.mp3", "two");
    folders.Put(1, "x.mp3", "x");
    folders.Put(2, "SONG.mp3", "three", kBaseUnixTime - 9000);
    AProgress progress;
    const auto sync = folders.MakeSync(kDirection1To2, 1, &progress);
    ASSERT_EQ(PrepareBoth(*sync), 0);
    EXPECT_EQ(ActionLines(*sync, folders), Lines{"1 code 1 [1:x.mp3] [2:]"});
    EXPECT_TRUE(Logged(progress, "Song.mp3 ") && Logged(progress, "ERROR=-11165: Duplicate names."));
}

TEST(SyncFaults, AFolderAgainstAFileGetsNoAction) {
    for (uint32_t direction : {kDirection1To2, kDirectionBoth}) {
        SyncFolders folders;
        folders.Put(1, "x/in.mp3", "i");
        folders.Put(2, "x", "a file");
        const auto sync = folders.MakeSync(direction, 1);
        ASSERT_EQ(PrepareBoth(*sync), 0);
        EXPECT_EQ(ActionLines(*sync, folders), Lines{"1 code 1 [1:x/in.mp3] [2:x/]"}) << direction;
    }
}

TEST(SyncFaults, FoldersAreDeletedLastDeepestFirstAndOnlyWhenEmpty) {
    SyncFolders folders;
    folders.Put(2, "x/w.mp3", "w");
    folders.Put(2, "x/y/z.mp3", "z");
    RecordingUserInterface user;
    user.QueueAnswers({kButtonNo, kButtonYes});
    const auto sync = folders.MakeSync(kDirection1To2, 1);
    std::vector<std::string> shown;
    HeadlessActionPresenter presenter([&](ASync& s, const SyncActionTexts&) {
        shown = ActionLines(s, folders);
        return true;
    });
    sync->SetPresenter(&presenter);
    EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), kErrorActionsFailed);
    EXPECT_EQ(shown, (Lines{"3 code 2 [] [2:x/w.mp3]", "3 code 2 [] [2:x/y/z.mp3]", "9 code 5 [] [2:x/y]",
                            "9 code 5 [] [2:x]"}));
    EXPECT_EQ(folders.Tree(2), (Tree{{"x/", ""}, {"x/w.mp3", "w"}}));
}

TEST(SyncFaults, WritingOrDeletingARemotePathDropsWhatWasKnownOfIt) {
    const AString remote("?host:/music/x.mp3");
    FileInfo info;
    info.exists = 1;
    const AString written("?host:/music/w.mp3");
    const AString neighbour("?host:/music/y.mp3");
    for (const AString& path : {remote, written, neighbour})
        RemoteFileCache::Instance().Add(path, info, true);
    SyncFolders folders;
    folders.Put(1, "w.mp3", "w");
    ASync sync;
    sync.SetKeptAnswers({kAnswerAsk, kAnswerAsk, kAnswerYesToAll});
    sync.DeleteFile(remote);
    // No link to the other computer: the copy fails, but the file may have been written in part.
    EXPECT_EQ(sync.CopyFile(folders.Text(1, "w.mp3"), written, 0, 0, CancelCallback()), kErrorNotConnected);
    EXPECT_EQ(RemoteFileCache::Instance().Find(remote, nullptr), -1);
    EXPECT_EQ(RemoteFileCache::Instance().Find(written, nullptr), -1);
    EXPECT_GE(RemoteFileCache::Instance().Find(neighbour, nullptr), 0);
    RemoteFileCache::Instance().Clear();
}

TEST(SyncFaults, StopOnErrorLetsTheUserEndTheCalculationAtAConflict) {
    SyncFolders folders;
    folders.Put(1, "Song.mp3", "one");
    folders.Put(1, "song.mp3", "two");
    folders.Put(1, "x.mp3", "x");
    AProgress progress;
    RecordingUserInterface user;
    user.QueueAnswers({kButtonYes});
    const auto sync = folders.MakeSync(kDirection1To2, 0, &progress);
    sync->SetStopOnError(1);
    EXPECT_EQ(PrepareBoth(*sync), -11165);
    EXPECT_EQ(sync->GetActionCount(), 0);
    EXPECT_TRUE(Logged(progress, "Error Syncing!"));
}

// A list whose own sort leaves it in another order: the walk finds that out and pairs by its own order.
TEST(SyncFaults, AListInAnotherOrderIsWalkedInTheWalksOrder) {
    class DescendingList : public ADir {
    public:
        void Sort(uint32_t) override { ADir::Sort(0); }
    };
    ASync sync;
    sync.SetSideLists(ASync::kSide1, std::make_unique<DescendingList>(), std::make_unique<ADir>());
    sync.SetDeleteMode(1);
    const AString root1("/music/one/");
    const AString root2("/music/two/");
    sync.BuildList1(&root1, CancelCallback(), false, false);
    sync.BuildList2(&root2, CancelCallback(), false, false);
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        sync.GetDirectory1().AddEntry(AString(name), 0);
    for (const char* name : {"a.mp3", "c.mp3", "d.mp3"})
        sync.GetDirectory2().AddEntry(AString(name), 0);
    ASSERT_EQ(sync.CalculateOneWay(sync.GetDirectory1(), sync.GetDirectory2(), CancelCallback(), false), 0);
    std::vector<std::string> actions;
    for (int i = 0; i < sync.GetActionCount(); ++i)
        actions.push_back(std::to_string(sync.GetAction(i)->code) + " " + sync.GetAction(i)->pathA.ToUtf8());
    // The files are not there, so the pairs that meet are replaced; none is copied or deleted.
    EXPECT_EQ(actions, (Lines{"3 /music/one/a.mp3", "1 /music/one/b.mp3", "3 /music/one/c.mp3",
                              "2 /music/two/d.mp3"}));
}
