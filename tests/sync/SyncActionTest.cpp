// The actions a sync creates, the changes the action list may make to them, their sort order and the
// texts shown for them.

#include "sync/ASync.h"
#include "sync/SyncActionTexts.h"

#include <gtest/gtest.h>

namespace {

const AString kRoot1("/music/one/");
const AString kRoot2("/music/two/");

class SyncActions : public ::testing::Test {
protected:
    void SetUp() override {
        sync.BuildList1(&kRoot1, CancelCallback(), false, false);
        sync.BuildList2(&kRoot2, CancelCallback(), false, false);
    }

    static AString In1(const char* name) { return kRoot1 + name; }
    static AString In2(const char* name) { return kRoot2 + name; }

    ASync sync;
};

struct Expected {
    uint32_t code;
    uint32_t displayIndex;
    uint32_t onSide1;
    AString text1;
    AString text2;
    uint32_t targetExists;
    uint32_t enabled;
};

void ExpectAction(const SyncAction& action, const Expected& expected) {
    EXPECT_EQ(action.code, expected.code);
    EXPECT_EQ(action.displayIndex, expected.displayIndex);
    EXPECT_EQ(action.onSide1, expected.onSide1);
    EXPECT_EQ(action.onSide2, 1 - expected.onSide1);
    EXPECT_EQ(action.text1, expected.text1);
    EXPECT_EQ(action.text2, expected.text2);
    EXPECT_EQ(action.targetExists, expected.targetExists);
    EXPECT_EQ(action.enabled, expected.enabled);
}

} // namespace

TEST_F(SyncActions, CreatorsFillSideIndexAndTexts) {
    const AString a1 = In1("a/x.mp3");
    const AString a2 = In2("a/x.mp3");
    ExpectAction(*sync.AddCopyAction(a1, a2, 0), {kActionCopy, kCopyTo2, 1, a1, In2("a/"), 0, 1});
    ExpectAction(*sync.AddCopyAction(a2, a1, 0), {kActionCopy, kCopyTo1, 0, In1("a/"), a2, 0, 1});
    ExpectAction(*sync.AddReplaceAction(a1, a2, 1, 0), {kActionReplace, kReplaceIn2, 1, a1, a2, 1, 1});
    ExpectAction(*sync.AddReplaceAction(a2, a1, 1, 0), {kActionReplace, kReplaceIn1, 0, a1, a2, 1, 1});
    ExpectAction(*sync.AddCreateDirAction(In1("a"), In2("a"), 0),
                 {kActionCreateFolder, kCreateFolderIn2, 1, In1("a"), kRoot2, 0, 1});
    ExpectAction(*sync.AddCreateDirAction(In2("a"), In1("a"), 0),
                 {kActionCreateFolder, kCreateFolderIn1, 0, kRoot1, In2("a"), 0, 1});
    ExpectAction(*sync.AddDeleteAction(a1), {kActionDelete, kDeleteFrom1, 1, a1, AString(), 1, 1});
    ExpectAction(*sync.AddDeleteAction(a2), {kActionDelete, kDeleteFrom2, 0, AString(), a2, 1, 1});
    ExpectAction(*sync.AddDeleteDirAction(In1("a")),
                 {kActionDeleteFolder, kDeleteFolderFrom1, 1, In1("a"), AString(), 1, 1});
    ExpectAction(*sync.AddDeleteDirAction(In2("a")),
                 {kActionDeleteFolder, kDeleteFolderFrom2, 0, AString(), In2("a"), 1, 1});
    ExpectAction(*sync.AddUndefinedAction(a1, a2), {kActionUndefined, kUndefinedPair, 1, a1, a2, 1, 0});
    ExpectAction(*sync.AddNoAction(a1, a2), {kActionNone, kNoActionPair, 1, a1, a2, 1, 1});
    EXPECT_EQ(sync.AddReplaceAction(a1, a2, 1, 1)->fieldsOnly, 1U);
}

TEST_F(SyncActions, APathWhoseRootDiffersInLetterCaseLiesInDirectory2) {
    const auto action = sync.AddDeleteAction(AString("/Music/one/x.mp3"));
    EXPECT_EQ(action->displayIndex, kDeleteFrom2);
    EXPECT_EQ(action->onSide2, 1U);
}

TEST_F(SyncActions, ChangesTurnEachActionIntoItsCounterpart) {
    const AString a1 = In1("a/b.mp3");
    const AString a2 = In2("a/b.mp3");
    struct Case {
        std::unique_ptr<SyncAction> action;
        int change;
        Expected expected;
        AString pathA;
        AString pathB;
    };
    Case cases[] = {
        {sync.AddCopyAction(a2, a1, 0),
         kChangeCopyTo1ToDelete,
         {kActionDelete, kDeleteFrom2, 0, AString(), a2, 1, 1},
         a2,
         AString()},
        {sync.AddCopyAction(a1, a2, 0),
         kChangeCopyTo2ToDelete,
         {kActionDelete, kDeleteFrom1, 1, a1, AString(), 1, 1},
         a1,
         AString()},
        {sync.AddDeleteAction(a1),
         kChangeDeleteFrom1ToCopy,
         {kActionCopy, kCopyTo2, 1, a1, In2("a/"), 0, 1},
         a1,
         a2},
        {sync.AddDeleteAction(a2),
         kChangeDeleteFrom2ToCopy,
         {kActionCopy, kCopyTo1, 0, In1("a/"), a2, 0, 1},
         a2,
         a1},
        {sync.AddReplaceAction(a2, a1, 1, 1),
         kChangeReplaceIn1ToReplaceIn2,
         {kActionReplace, kReplaceIn2, 1, a1, a2, 1, 1},
         a1,
         a2},
        {sync.AddReplaceAction(a1, a2, 1, 0),
         kChangeReplaceIn2ToReplaceIn1,
         {kActionReplace, kReplaceIn1, 0, a1, a2, 1, 1},
         a2,
         a1},
        {sync.AddUndefinedAction(a1, a2),
         kChangeUndefinedToReplaceIn2,
         {kActionReplace, kReplaceIn2, 1, a1, a2, 1, 0},
         a1,
         a2},
        {sync.AddUndefinedAction(a1, a2),
         kChangeUndefinedToReplaceIn1,
         {kActionReplace, kReplaceIn1, 0, a1, a2, 1, 0},
         a2,
         a1},
    };
    for (Case& item : cases) {
        SCOPED_TRACE(item.change);
        sync.ChangeAction(*item.action, item.change);
        ExpectAction(*item.action, item.expected);
        EXPECT_EQ(item.action->pathA, item.pathA);
        EXPECT_EQ(item.action->pathB, item.pathB);
        EXPECT_EQ(item.action->fieldsOnly, 0U);
    }
}

TEST_F(SyncActions, AChangeForAnotherIndexLeavesTheActionAlone) {
    const auto action = sync.AddCopyAction(In1("x.mp3"), In2("x.mp3"), 0);
    const SyncAction before = *action;
    for (int change : {int(kChangeCopyTo1ToDelete), int(kChangeDeleteFrom1ToCopy),
                       int(kChangeReplaceIn1ToReplaceIn2), int(kChangeUndefinedToReplaceIn1), 8, -1}) {
        sync.ChangeAction(*action, change);
        EXPECT_EQ(action->code, before.code);
        EXPECT_EQ(action->displayIndex, before.displayIndex);
        EXPECT_EQ(action->pathB, before.pathB);
        EXPECT_EQ(action->text2, before.text2);
    }
}

TEST(SyncActionOrder, ColumnsCompareTheirKeysInTurn) {
    SyncAction copy;
    copy.enabled = 1;
    copy.displayIndex = kCopyTo2;
    copy.text1 = "b";
    copy.text2 = "Z";
    SyncAction off = copy;
    off.enabled = 0;
    SyncAction remove = copy;
    remove.displayIndex = kDeleteFrom1;
    remove.text1 = "A";
    remove.text2 = "";

    EXPECT_LT(ASync::CompareActions(copy, off, 0, true), 0); // enabled first
    EXPECT_GT(ASync::CompareActions(copy, off, 0, false), 0);
    EXPECT_GT(ASync::CompareActions(copy, remove, 1, true), 0); // "b" after "A", ignoring case
    EXPECT_LT(ASync::CompareActions(copy, remove, 2, true), 0); // index 1 before 2
    EXPECT_GT(ASync::CompareActions(copy, remove, 3, true), 0);
    EXPECT_EQ(ASync::CompareActions(copy, off, 1, true), ASync::CompareActions(copy, off, 0, true));
    EXPECT_EQ(ASync::CompareActions(copy, remove, 4, true), 0);
}

TEST(SyncActionTexts, DirectoryWordingByIndex) {
    const SyncActionTexts texts = SyncActionTexts::ForDirectories();
    const char* expected[SyncActionTexts::kTextCount] = {
        "Copy to Directory 1",
        "Copy to Directory 2",
        "Delete from Directory 1",
        "Delete from Directory 2",
        "Replace in Directory 1",
        "Replace in Directory 2",
        "Create Dir in Directory 1",
        "Create Dir in Directory 2",
        "Delete Dir from Directory 1",
        "Delete Dir from Directory 2",
        "Undefined",
        "No action",
        "All Copy to Directory 1 Actions",
        "All Copy to Directory 2 Actions",
        "All Delete from Directory 1 Actions",
        "All Delete from Directory 2 Actions",
        "All Replace in Directory 1 Actions",
        "All Replace in Directory 2 Actions",
        "All Create Dir in Directory 1 Actions",
        "All Create Dir in Directory 2 Actions",
        "All Delete Dir from Directory 1 Actions",
        "All Delete Dir from Directory 2 Actions",
        "",
        "",
        "Change to: Delete in Directory 2",
        "Change to: Delete in Directory 1",
        "Change to: Copy to Directory 2",
        "Change to: Copy to Directory 1",
        "Change to: Replace in Directory 2",
        "Change to: Replace in Directory 1",
        "Set to: Replace in Directory 2",
        "Set to: Replace in Directory 1",
    };
    for (int i = 0; i < SyncActionTexts::kTextCount; ++i)
        EXPECT_EQ(texts.texts[i], expected[i]) << i;
    EXPECT_EQ(texts.side1Name, "Directory 1");
    EXPECT_EQ(texts.side2Name, "Directory 2");
}

TEST(SyncActionTexts, SongSidesHaveNoFolderActions) {
    const SyncActionTexts texts =
        SyncActionTexts::ForSides(AString("iTunes"), AString("Remote iTunes"), false);
    EXPECT_EQ(texts.texts[1], "Copy to Remote iTunes");
    EXPECT_EQ(texts.texts[15], "All Delete from Remote iTunes Actions");
    EXPECT_EQ(texts.texts[24], "Change to: Delete in Remote iTunes");
    EXPECT_EQ(texts.texts[31], "Set to: Replace in iTunes");
    for (int index : {6, 7, 8, 9, 18, 19, 20, 21, 22, 23})
        EXPECT_TRUE(texts.texts[index].IsEmpty()) << index;
}
