// The six sync modes (and a direction that decides nothing) on a pair of folders holding one file of
// each kind: alike on both sides, different on both sides (Directory 1's is newer), only in Directory 1,
// only in Directory 2. "With snapshots" the last sync saw all four files on both sides, so a file now on
// one side only was deleted on the other.

#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncActionTexts.h"
#include "sync/SyncFolders.h"
#include "sync/SyncModeTables.h"

#include <gtest/gtest.h>

namespace {

struct ModeCase {
    uint32_t direction;
    uint32_t deleteMode;
    bool snapshots;
    std::vector<std::string> expected;
};

void PutFourKinds(SyncFolders& folders) {
    for (int side : {1, 2}) {
        folders.Put(side, "alike.mp3", "same bytes");
        folders.Put(side, "differ.mp3", "old");
        folders.Put(side, "onlyA.mp3", "a");
        folders.Put(side, "onlyB.mp3", "b");
    }
}

void MakeTheDifferences(SyncFolders& folders) {
    folders.Put(1, "differ.mp3", "newer bytes", kBaseUnixTime + 3600 * 5);
    folders.Remove(2, "onlyA.mp3");
    folders.Remove(1, "onlyB.mp3");
}

const std::vector<ModeCase>& Cases() {
    // Each line: display index, code, the Directory 1 column, the Directory 2 column.
    const std::string copyATo2 = "1 code 1 [1:onlyA.mp3] [2:]";
    const std::string copyBTo1 = "0 code 1 [1:] [2:onlyB.mp3]";
    const std::string replaceIn2 = "5 code 3 [1:differ.mp3] [2:differ.mp3]";
    const std::string replaceIn1 = "4 code 3 [1:differ.mp3] [2:differ.mp3]";
    const std::string deleteAFrom1 = "2 code 2 [1:onlyA.mp3] []";
    const std::string deleteBFrom2 = "3 code 2 [] [2:onlyB.mp3]";
    static const std::vector<ModeCase> cases = {
        {kDirectionBoth, 1, false, {replaceIn2, copyATo2, copyBTo1}},
        {kDirectionBoth, 1, true, {replaceIn2, deleteAFrom1, deleteBFrom2}},
        {kDirectionBoth, 0, false, {replaceIn2, copyATo2, copyBTo1}},
        {kDirectionBoth, 0, true, {replaceIn2, copyATo2, copyBTo1}},
        {kDirection1To2, 0, false, {replaceIn2, copyATo2}},
        {kDirection1To2, 0, true, {replaceIn2, copyATo2}},
        {kDirection2To1, 0, false, {replaceIn1, copyBTo1}},
        {kDirection2To1, 0, true, {replaceIn1, copyBTo1}},
        {kDirection1To2, 1, false, {replaceIn2, copyATo2, deleteBFrom2}},
        {kDirection1To2, 1, true, {replaceIn2, copyATo2, deleteBFrom2}},
        {kDirection2To1, 1, false, {replaceIn1, deleteAFrom1, copyBTo1}},
        {kDirection2To1, 1, true, {replaceIn1, deleteAFrom1, copyBTo1}},
        {kDirectionSkipped, 1, false, {}},
        {kDirectionSkipped, 0, true, {}},
    };
    return cases;
}

std::string Describe(const ModeCase& mode) {
    const char* name = SyncModeName(SyncModeOf(mode.direction, mode.deleteMode), false);
    return std::string(name ? name : "no mode") + (mode.snapshots ? ", with snapshots" : ", no snapshots");
}

} // namespace

TEST(DecisionTable, EveryModeDecidesEveryKindOfPair) {
    for (const ModeCase& mode : Cases()) {
        SCOPED_TRACE(Describe(mode));
        SyncFolders folders;
        PutFourKinds(folders);
        const auto sync = folders.MakeSync(mode.direction, mode.deleteMode);
        if (mode.snapshots)
            folders.TakeSnapshots(*sync);
        MakeTheDifferences(folders);
        const auto before1 = folders.Tree(1);
        const auto before2 = folders.Tree(2);

        ASSERT_EQ(sync->Prepare(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), 0);
        EXPECT_EQ(ActionLines(*sync, folders), mode.expected);
        EXPECT_EQ(folders.Tree(1), before1);
        EXPECT_EQ(folders.Tree(2), before2);
    }
}

TEST(DecisionTable, ActionsShowTheTextsOfTheirDisplayIndex) {
    SyncFolders folders;
    PutFourKinds(folders);
    const auto sync = folders.MakeSync(kDirectionBoth, 1);
    folders.TakeSnapshots(*sync);
    MakeTheDifferences(folders);
    folders.Put(1, "new.mp3", "n");
    ASSERT_EQ(sync->Prepare(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), 0);

    const SyncActionTexts texts = SyncActionTexts::ForDirectories();
    std::vector<std::string> shown;
    for (int i = 0; i < sync->GetActionCount(); ++i)
        shown.push_back(texts.texts[sync->GetAction(i)->displayIndex].ToUtf8());
    EXPECT_EQ(shown, (std::vector<std::string>{"Replace in Directory 2", "Copy to Directory 2",
                                               "Delete from Directory 1", "Delete from Directory 2"}));
}

TEST(DecisionTable, TheSyncRoadEndsWithNothingToSyncWhenNoModeApplies) {
    SyncFolders folders;
    PutFourKinds(folders);
    MakeTheDifferences(folders);
    const auto sync = folders.MakeSync(kDirectionSkipped, 1);
    HeadlessActionPresenter presenter([](ASync&, const SyncActionTexts&) { return true; });
    sync->SetPresenter(&presenter);
    EXPECT_EQ(sync->Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), 0);
    EXPECT_EQ(presenter.GetShownCount(), 0);
}
