#include "app/dialogs/SyncPlayListsActionListDlg.h"

#include "DialogTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/dialogs/ArrowHeaderCtrl.h"
#include "app/dialogs/SyncActionListModel.h"
#include "app/dialogs/SyncPlayListAComboBox2.h"
#include "sync/ASync.h"
#include "sync/SyncOptions.h"
#include "widgets/ControlMessages.h"

#include <QCheckBox>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PlayListActionList : public ::testing::Test {
protected:
    // Playlist i gets song sync i.
    void Open(std::vector<std::vector<SyncAction>> songActions, std::vector<int> results = {}) {
        for (size_t i = 0; i < songActions.size(); ++i) {
            songSyncs.push_back(SampleSongSync(kDirectionBoth, 1, std::move(songActions[i])));
            const std::string name = "iTunes Library: List " + std::to_string(i);
            playLists.push_back(SampleAction(kActionCopy, kCopyTo2, 1, name.c_str(), "iPod Library:   "));
        }
        std::vector<PlayListActionEntry> entries;
        for (size_t i = 0; i < playLists.size(); ++i)
            entries.push_back({&playLists[i], songSyncs[i].get(), i < results.size() ? results[i] : 0});
        dialog = std::make_unique<SyncPlayListsActionListDlg>();
        dialog->SetActionList(entries, false);
        dialog->show();
        Drain();
    }

    void Choose(int entry) {
        dialog->Chooser().OnCommand(controlmsg::kComboFirstCommand + entry);
        Drain();
    }

    std::vector<std::unique_ptr<ASync>> songSyncs;
    std::vector<SyncAction> playLists;
    std::unique_ptr<SyncPlayListsActionListDlg> dialog;
};

std::vector<SyncAction> TwoSongActions(const char* first) {
    return {SampleAction(kActionCopy, kCopyTo2, 1, first),
            SampleAction(kActionDelete, kDeleteFrom1, 1, "gone")};
}

} // namespace

TEST_F(PlayListActionList, PlayListsWithoutSongActionsAreSwitchedOffAndTheFirstWithSomeIsShown) {
    Open({{}, TwoSongActions("song"), TwoSongActions("other")});
    EXPECT_EQ(playLists[0].enabled, 0U);
    EXPECT_EQ(playLists[1].enabled, 1U);
    EXPECT_EQ(dialog->CurrentEntry(), 1);
    EXPECT_EQ(dialog->Chooser().GetCurSel(), 1);
    EXPECT_TRUE(dialog->PlayListCheckBox().isChecked());
    EXPECT_EQ(ColumnTexts(dialog->View(), 1), (QStringList{"song", "gone"}));
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 2 / 2 actions selected");
    QString text;
    dialog->Chooser().GetItemText(1, text);
    EXPECT_EQ(text, "List 1$$$$");
}

TEST_F(PlayListActionList, WithoutSongActionsAnywhereTheListStaysEmptyAndTheMenuHasNoChanges) {
    Open({{}, {}});
    EXPECT_EQ(dialog->Chooser().GetCurSel(), 0);
    EXPECT_EQ(dialog->View().model()->rowCount(), 0);
    const QPoint inside = dialog->View().mapToGlobal(dialog->View().rect().center());
    const QStringList lines = MenuLines(*dialog->BuildContextMenu(inside));
    EXPECT_EQ(lines.first(), "Check Items:");
    EXPECT_FALSE(lines.join('\n').contains("Dir "));
    EXPECT_EQ(dialog->BuildContextMenu(dialog->mapToGlobal(QPoint(2, 2))), nullptr);
}

TEST_F(PlayListActionList, ChoosingAnotherPlayListReplacesTheRowsAndClearsTheSort) {
    Open({TwoSongActions("b"), TwoSongActions("c")});
    ClickHeader(dialog->View(), 1);
    EXPECT_EQ(dialog->View().Header().ArrowColumn(), 1);
    Choose(0);
    EXPECT_EQ(dialog->View().Header().ArrowColumn(), 1);
    Choose(1);
    EXPECT_EQ(ColumnTexts(dialog->View(), 1), (QStringList{"c", "gone"}));
    EXPECT_EQ(dialog->View().Header().ArrowColumn(), ArrowHeaderCtrl::kNoColumn);
}

TEST_F(PlayListActionList, ThePlayListsCheckBoxIsItsActionsFlagAndTheChoosersLeftEndClicksIt) {
    Open({TwoSongActions("song")});
    QTest::mouseClick(&dialog->PlayListCheckBox(), Qt::LeftButton);
    EXPECT_EQ(playLists[0].enabled, 0U);
    QTest::mouseClick(&dialog->Chooser(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(playLists[0].enabled, 1U);
    EXPECT_EQ(dialog->Chooser().EntryMenu(), nullptr);
    QTest::mouseClick(&dialog->Chooser(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    ASSERT_NE(dialog->Chooser().EntryMenu(), nullptr);
    dialog->Chooser().EntryMenu()->close();
}

// A playlist whose song sync could not be prepared shows one "ERROR" row that nothing can check or
// change, in place of the rows shown before.
TEST_F(PlayListActionList, AFailedPlayListShowsOnlyAnErrorRowThatTakesNoCheck) {
    Open({TwoSongActions("song"), TwoSongActions("broken")}, {0, -5});
    Choose(1);
    ActionListView& view = dialog->View();
    EXPECT_EQ(ColumnTexts(view, 1), (QStringList{"ERROR"}));
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 0 / 0 actions selected");
    EXPECT_FALSE(view.model()->index(0, 0).data(Qt::CheckStateRole).isValid());
    ClickCheckBox(view, 0);
    view.selectRow(0);
    dialog->OnCommand(30006);
    dialog->OnCommand(30000);
    dialog->OnCommand(30036);
    EXPECT_EQ(dialog->Model().CheckedCount(), 0);
    EXPECT_EQ(songSyncs[1]->GetAction(0)->enabled, 1U);
    EXPECT_EQ(songSyncs[1]->GetAction(0)->displayIndex, static_cast<uint32_t>(kCopyTo2));
    const QPoint inside = view.mapToGlobal(view.rect().center());
    EXPECT_EQ(MenuLines(*dialog->BuildContextMenu(inside)).first(), "Check Items:");
}

TEST_F(PlayListActionList, APlayDataReplaceReadsMetaDataOnly) {
    Open({{SampleAction(kActionReplace, kReplaceIn2, 1, "song", "song", 1),
           SampleAction(kActionReplace, kReplaceIn2, 1, "file", "file", 0)}});
    EXPECT_EQ(ColumnTexts(dialog->View(), 3), (QStringList{"Meta Data Only", "file"}));
}

TEST_F(PlayListActionList, WideningTheFirstColumnMovesTheChooser) {
    Open({TwoSongActions("song")});
    const int chooserX = dialog->Chooser().x();
    const int checkBoxX = dialog->PlayListCheckBox().x();
    DragDivider(dialog->View(), 1, 40);
    EXPECT_EQ(dialog->Chooser().x(), chooserX + 40);
    EXPECT_EQ(dialog->PlayListCheckBox().x(), checkBoxX + 40);
}
