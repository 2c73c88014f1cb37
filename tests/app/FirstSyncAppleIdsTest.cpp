// The Apple IDs that "Add AppleID to list" extends are those of the window's sync set's first sync,
// found anew at each call: through a set that has no sync, one that is loaded, and one that replaced it.

#include "app/devices/FirstSyncAppleIds.h"

#include "app/devices/DeviceSyncSet.h"
#include "app/dialogs/ToolActionListDlg.h"
#include "dialogs/DialogTestSupport.h"
#include "foundation/AProgress.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "support/AStringPrinting.h"
#include "sync/ASyncLib.h"
#include "sync/SyncModeTables.h"

#include <gtest/gtest.h>

namespace {

class FirstSyncAppleIdsTest : public testing::Test {
protected:
    FirstSyncAppleIdsTest() { DeviceSyncSet::RegisterRemoteList(); }

    AString FirstSyncIds() const {
        const auto* first = dynamic_cast<const ASyncLib*>(syncSet.First());
        return first ? first->GetAppleIDs() : AString("(no first sync)");
    }

    AppTestHome home;
    AProgress progress;
    DeviceSyncSet syncSet{&progress, nullptr, AString()};
    FirstSyncAppleIds appleIds{syncSet};
};

} // namespace

TEST_F(FirstSyncAppleIdsTest, ASetWithoutASyncHasNoneAndKeepsNone) {
    ASSERT_TRUE(syncSet.IsEmpty());
    appleIds.SetAppleIDs(AString(":me@example.com:"));
    EXPECT_EQ(appleIds.GetAppleIDs(), AString());
}

// Mode 4 with one row: the row leaves the list, the tool will not act on it, and the first sync's empty
// list becomes the id between two colons.
TEST_F(FirstSyncAppleIdsTest, TheListOfMusicNotOwnedAddsARowsAppleIdToTheFirstSync) {
    ASSERT_EQ(syncSet.NewDefaultSync(nullptr, AString(), AString(), kModeSync), 0);
    ASSERT_EQ(FirstSyncIds(), AString());

    SongToolActions rows;
    rows.push_back(std::make_unique<SongToolAction>());
    rows[0]->kind = kToolRemoveMusicNotOwned;
    rows[0]->checked = 1;
    rows[0]->displayText = AString("Bought");
    rows[0]->detail = AString("stranger@example.com");
    ToolActionListRequest request;
    request.kind = kToolRemoveMusicNotOwned;
    request.rows = &rows;
    ToolActionListDlg dialog(request);
    dialog.SetAppleIdList(&appleIds);
    dialog.show();
    SelectRows(dialog.View(), {0});
    dialog.OnCommand(ToolActionListDlg::kAddAppleId);

    EXPECT_EQ(dialog.View().model()->rowCount(), 0);
    EXPECT_EQ(rows[0]->checked, 0U);
    EXPECT_EQ(dialog.windowTitle(), "Tool Actions to Perform - 0 / 0 items selected");
    EXPECT_EQ(FirstSyncIds(), AString(":stranger@example.com:"));
    EXPECT_EQ(appleIds.GetAppleIDs(), AString(":stranger@example.com:"));
}

// A data load puts a new set in place of the old one: the ids go to the new set's first sync.
TEST_F(FirstSyncAppleIdsTest, AReplacedSetIsTheOneWrittenTo) {
    ASSERT_EQ(syncSet.NewDefaultSync(nullptr, AString(), AString(), kModeSync), 0);
    appleIds.SetAppleIDs(AString(":old@example.com:"));

    const std::string root = home.Folder().File("pod");
    WriteFakePod(root, {u"Pocket", {}, 1, "", false});
    home.MountVolume(root);
    const DeviceSyncSet::Device pod{ChooserKind::PodDatabase, AString("0A1B2C3D"), AString("Pocket"),
                                    AString::FromUtf8(root), 0};
    QString message;
    ASSERT_EQ(syncSet.LoadRecent(&pod, kModeSync, message), 0);
    appleIds.SetAppleIDs(AString(":new@example.com:"));
    EXPECT_EQ(FirstSyncIds(), AString(":new@example.com:"));
    EXPECT_EQ(syncSet.First()->GetDirectory2().GetType(), ADir::kTypePodDB);
}
