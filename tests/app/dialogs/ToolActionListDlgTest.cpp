#include "app/dialogs/ToolActionListDlg.h"

#include "DialogTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/dialogs/ActionListModel.h"
#include "app/dialogs/AppleIdList.h"
#include "app/dialogs/ArrowHeaderCtrl.h"
#include "foundation/AArray.h"

#include <QColor>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

class MemoryAppleIds : public AppleIdList {
public:
    AString GetAppleIDs() const override { return ids; }
    void SetAppleIDs(const AString& appleIds) override { ids = appleIds; }
    AString ids;
};

class ToolActionList : public ::testing::Test {
protected:
    void AddRow(const char* text, const char* appleId, uint32_t checked = 1) {
        auto row = std::make_unique<SongToolAction>();
        row->kind = kind;
        row->displayText = AString(text);
        row->detail = AString(appleId);
        row->checked = checked;
        rows.push_back(std::move(row));
    }

    void Open(const char* title = "Remove Music Not Owned From iTunes - Songs to Remove") {
        ToolActionListRequest request;
        request.kind = kind;
        request.title = AString(title);
        request.rows = &rows;
        dialog = std::make_unique<ToolActionListDlg>(request);
        dialog->SetAppleIdList(&appleIds);
        dialog->show();
        Drain();
    }

    uint32_t kind = kToolRemoveMusicNotOwned;
    SongToolActions rows;
    MemoryAppleIds appleIds;
    std::unique_ptr<ToolActionListDlg> dialog;
};

} // namespace

TEST_F(ToolActionList, WithoutATitleOrRowsTheWindowSaysWhatItIs) {
    kind = kToolRemoveOrphans;
    Open("");
    EXPECT_EQ(dialog->windowTitle(), "Tool Actions to Perform - 0 / 0 items selected");
    EXPECT_EQ(dialog->View().model()->columnCount(), 2);
}

TEST_F(ToolActionList, AddingAnAppleIdTakesItsRowsOffTheListAndTheToolLeavesThem) {
    AddRow("One", "Friend@x.com");
    AddRow("Two", "other@x.com");
    AddRow("Three", "friend@x.com", 0);
    AddRow("Four", "friend@x.com");
    Open();
    EXPECT_EQ(dialog->windowTitle(),
              "Remove Music Not Owned From iTunes - Songs to Remove - 3 / 4 items selected");
    SelectRows(dialog->View(), {0});
    EXPECT_EQ(MenuLines(*dialog->BuildContextMenu(QPoint())),
              (QStringList{"Add AppleID to list #30004", "Check Items:", "  All Items #30001",
                           "Uncheck Items:", "  All Items #30003"}));
    dialog->OnCommand(ToolActionListDlg::kAddAppleId);
    EXPECT_EQ(appleIds.ids, AString(":Friend@x.com:"));
    EXPECT_EQ(ColumnTexts(dialog->View(), 1), (QStringList{"Two"}));
    EXPECT_EQ(dialog->windowTitle(),
              "Remove Music Not Owned From iTunes - Songs to Remove - 1 / 1 items selected");
    EXPECT_EQ(rows[0]->checked, 0U);
    EXPECT_EQ(rows[3]->checked, 0U);
    EXPECT_EQ(rows[1]->checked, 1U);

    SelectRows(dialog->View(), {0});
    dialog->OnCommand(ToolActionListDlg::kAddAppleId);
    EXPECT_EQ(appleIds.ids, AString(":Friend@x.com:other@x.com:"));
}

TEST_F(ToolActionList, TheAppleIdEntryNeedsOneSelectedRowOfMusicNotOwned) {
    AddRow("One", "a");
    AddRow("Two", "b");
    Open();
    SelectRows(dialog->View(), {0, 1});
    EXPECT_EQ(MenuLines(*dialog->BuildContextMenu(QPoint())),
              (QStringList{"Check Items:", "  Selected Items #30000", "  All Items #30001",
                           "Uncheck Items:", "  Selected Items #30002", "  All Items #30003"}));
    dialog->OnCommand(30002);
    EXPECT_EQ(dialog->windowTitle(),
              "Remove Music Not Owned From iTunes - Songs to Remove - 0 / 2 items selected");

    rows.clear();
    kind = kToolRemoveOrphans;
    AddRow("One", "");
    Open("Remove Orphans ");
    SelectRows(dialog->View(), {0});
    EXPECT_EQ(MenuLines(*dialog->BuildContextMenu(QPoint())).first(), "Check Items:");
}

TEST_F(ToolActionList, TheAppleIdColumnSortsByAppleIdSongAndCheckedRowsFirst) {
    AddRow("b", "Y");
    AddRow("a", "y", 0);
    AddRow("a", "y");
    AddRow("c", "x");
    Open();
    ClickHeader(dialog->View(), 2);
    EXPECT_EQ(ColumnTexts(dialog->View(), 2), (QStringList{"x", "y", "y", "Y"}));
    EXPECT_EQ(ColumnTexts(dialog->View(), 1), (QStringList{"c", "a", "a", "b"}));
    EXPECT_EQ(dialog->View().model()->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Checked);
    ClickHeader(dialog->View(), 2);
    EXPECT_EQ(ColumnTexts(dialog->View(), 1), (QStringList{"b", "a", "a", "c"}));
    EXPECT_EQ(dialog->View().model()->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Unchecked);
}

TEST_F(ToolActionList, TheSongsToAddShowSymbolsColoursAndTooltipsInAFixedActionColumn) {
    // As the add road makes them: the file in the first text, the target's folder part in the second.
    std::vector<SyncAction> actions = {SampleAction(kActionCopy, kCopyTo2, 1, "/songs/new song.mp3", "iTunes:"),
                                       SampleAction(kActionUndefined, kUndefinedPair, 0, "/songs/unsure.mp3", "iTunes:")};
    AArray array;
    for (SyncAction& action : actions)
        array.AddPointer(&action);
    ToolActionListRequest request;
    request.kind = kToolAddSongsList;
    request.addActions = &array;
    request.actionNames = &AddSongActionNames();
    dialog = std::make_unique<ToolActionListDlg>(request);
    dialog->show();
    Drain();
    QAbstractItemModel& model = *dialog->View().model();
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Action");
    EXPECT_EQ(model.index(0, 2).data().toString(), "/songs/new song.mp3");
    EXPECT_EQ(model.index(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    EXPECT_EQ(model.index(1, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_EQ(model.index(0, 1).data(Qt::ToolTipRole).toString(), "Add Song File");
    EXPECT_FALSE(model.index(0, 2).data(Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.index(0, 1).data(ActionListModel::kImageRole).value<QImage>().isNull());
    EXPECT_EQ(dialog->View().columnWidth(1), 76);
    const int width = dialog->View().columnWidth(1);
    DragDivider(dialog->View(), 1, 30);
    EXPECT_EQ(dialog->View().columnWidth(1), width);

    // Here an undefined song may be switched on.
    ClickCheckBox(dialog->View(), 1);
    EXPECT_EQ(actions[1].enabled, 1U);
}

TEST_F(ToolActionList, OtherToolsShowBlackRowsWithoutTooltips) {
    kind = kToolRemoveOrphans;
    AddRow("song", "");
    Open("Remove Orphans ");
    QAbstractItemModel& model = *dialog->View().model();
    EXPECT_FALSE(model.index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.index(0, 1).data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(dialog->View().columnWidth(1), dialog->View().viewport()->width() - 27);
}
