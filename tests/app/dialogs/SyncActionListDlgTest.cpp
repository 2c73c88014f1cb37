#include "app/dialogs/SyncActionListDlg.h"

#include "DialogTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/dialogs/ArrowHeaderCtrl.h"
#include "app/dialogs/SyncActionListModel.h"
#include "app/dialogs/SyncActionMenu.h"
#include "library/songlists/ADirSongDir.h"
#include "platform/ui/WindowMessages.h"
#include "sync/ASync.h"
#include "sync/SyncActionTexts.h"

#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Lines = QStringList;

class SyncActionList : public ::testing::Test {
protected:
    void Open(std::vector<SyncAction> rows, ASync* owner = nullptr) {
        actions = std::move(rows);
        dialog = std::make_unique<SyncActionListDlg>();
        dialog->SetActionList(PointersTo(actions), owner, SyncActionTexts::ForDirectories());
        dialog->show();
        Drain();
    }

    std::vector<uint32_t> Enabled() const {
        std::vector<uint32_t> flags;
        for (const SyncAction& action : actions)
            flags.push_back(action.enabled);
        return flags;
    }

    ASync sync;
    std::vector<SyncAction> actions;
    std::unique_ptr<SyncActionListDlg> dialog;
};

std::vector<SyncAction> MixedRows() {
    return {
        SampleAction(kActionCopy, kCopyTo1, 1, "b", "x"),
        SampleAction(kActionDelete, kDeleteFrom2, 1, "", "c"),
        SampleAction(kActionUndefined, kUndefinedPair, 0, "u1", "u1"),
        SampleAction(kActionReplace, kReplaceIn2, 0, "a", "a"),
        SampleAction(kActionUndefined, kUndefinedPair, 0, "u2", "u2"),
        SampleAction(kActionNone, kNoActionPair, 1, "n", "n"),
    };
}

} // namespace

TEST_F(SyncActionList, TheTitleCountsCheckedRowsAndUndefinedActions) {
    Open({});
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 0 / 0 actions selected");

    std::vector<SyncAction> rows(12, SampleAction(kActionCopy, kCopyTo2, 1));
    rows.insert(rows.end(), 3, SampleAction(kActionUndefined, kUndefinedPair, 0));
    Open(rows);
    EXPECT_EQ(dialog->windowTitle(),
              "Sync Actions to Perform - 12 / 15 actions selected, 3 undefined actions");
}

TEST_F(SyncActionList, ACheckBoxIsTheActionsEnabledFlagButUndefinedActionsStayOff) {
    Open(MixedRows());
    ClickCheckBox(dialog->View(), 3);
    EXPECT_EQ(actions[3].enabled, 1U);
    ClickCheckBox(dialog->View(), 0);
    EXPECT_EQ(actions[0].enabled, 0U);
    ClickCheckBox(dialog->View(), 2);
    EXPECT_EQ(actions[2].enabled, 0U);
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 3 / 6 actions selected, 2 undefined actions");

    QTest::mouseClick(dialog->ButtonById(ActionListDialog::kCheckAllButton), Qt::LeftButton);
    EXPECT_EQ(Enabled(), (std::vector<uint32_t>{1, 1, 0, 1, 0, 1}));
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 4 / 6 actions selected, 2 undefined actions");
    QTest::mouseClick(dialog->ButtonById(ActionListDialog::kUncheckAllButton), Qt::LeftButton);
    EXPECT_EQ(Enabled(), (std::vector<uint32_t>(6, 0)));
}

TEST_F(SyncActionList, CheckAllWritesTheTitleOnce) {
    Open(std::vector<SyncAction>(500, SampleAction(kActionCopy, kCopyTo2, 0)));
    TitleChanges titles(*dialog);
    dialog->OnCommand(SyncActionMenu::kCheckAll);
    EXPECT_EQ(titles.count, 1);
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 500 / 500 actions selected");
}

struct MenuCase {
    const char* name;
    std::vector<int> selected; // the first is the selection mark
    bool folders;
    Lines expected;
};

class SyncActionMenuCases : public SyncActionList, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(SyncActionMenuCases, OfferWhatTheSelectionAllows) {
    const MenuCase& menuCase = GetParam();
    if (!menuCase.folders) {
        sync.SetSideLists(ASync::kSide1, std::make_unique<ADirSongDir>(), std::make_unique<ADirSongDir>());
        sync.SetSideLists(ASync::kSide2, std::make_unique<ADirSongDir>(), std::make_unique<ADirSongDir>());
    }
    Open(MixedRows(), &sync);
    SelectRows(dialog->View(), menuCase.selected);
    EXPECT_EQ(MenuLines(*dialog->BuildContextMenu(QPoint())), menuCase.expected) << menuCase.name;
}

// A check (first 30000) or uncheck (first 30007) submenu after its leading entries.
Lines Submenu(const char* title, int first, Lines leading, bool folders) {
    const auto entry = [first](const char* text, int offset) {
        return QStringLiteral("  %1 #%2").arg(QLatin1String(text)).arg(first + offset);
    };
    Lines lines = {QString::fromLatin1(title)};
    lines += leading;
    lines << entry("All Copy Actions", 1) << entry("All Delete Actions", 2)
          << entry("All Replace Actions", 3);
    if (folders)
        lines << entry("All Create Dir Actions", 4) << entry("All Delete Dir Actions", 5);
    lines << QStringLiteral("  ---") << entry("All Items", 6);
    return lines;
}

Lines Menu(Lines main, Lines checkLeading, Lines uncheckLeading, bool folders = true) {
    return main + Submenu("Check Items:", 30000, checkLeading, folders) +
           Submenu("Uncheck Items:", 30007, uncheckLeading, folders);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, SyncActionMenuCases,
    ::testing::Values(
        MenuCase{"nothing selected", {}, true, Menu({}, {}, {})},
        MenuCase{"one copy",
                 {0},
                 true,
                 Menu({"Change to: Delete in Directory 2 #30034", "---"},
                      {"  All Copy to Directory 1 Actions #30014", "  ---"},
                      {"  All Copy to Directory 1 Actions #30024", "  ---"})},
        MenuCase{"two kinds",
                 {0, 1},
                 true,
                 Menu({"Change to: Delete in Directory 2 #30034 (greyed)", "---"},
                      {"  Selected Items #30000", "  ---"}, {"  Selected Items #30007", "  ---"})},
        MenuCase{
            "two undefined",
            {2, 4},
            true,
            Menu({"Set to: Replace in Directory 1 #30041", "Set to: Replace in Directory 2 #30040", "---"},
                 {"  Selected Items #30000", "  ---"}, {"  Selected Items #30007", "  ---"})},
        MenuCase{"one without a kind entry", {5}, true, Menu({}, {"  ---"}, {"  ---"})},
        MenuCase{"songs have no folders",
                 {3},
                 false,
                 Menu({"Change to: Replace in Directory 1 #30039", "---"},
                      {"  All Replace in Directory 2 Actions #30019", "  ---"},
                      {"  All Replace in Directory 2 Actions #30029", "  ---"}, false)}),
    [](const ::testing::TestParamInfo<MenuCase>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(SyncActionList, KindCommandsCheckByCodeOrDisplayIndexAndSelectedSkipsUndefined) {
    Open(MixedRows(), &sync);
    dialog->OnCommand(30008); // uncheck all copies
    EXPECT_EQ(Enabled(), (std::vector<uint32_t>{0, 1, 0, 0, 0, 1}));
    dialog->OnCommand(30019); // check all "Replace in Directory 2"
    EXPECT_EQ(Enabled(), (std::vector<uint32_t>{0, 1, 0, 1, 0, 1}));
    SelectRows(dialog->View(), {0, 2, 4});
    dialog->OnCommand(30000); // check the selection
    EXPECT_EQ(Enabled(), (std::vector<uint32_t>{1, 1, 0, 1, 0, 1}));
}

TEST_F(SyncActionList, DecidingUndefinedActionsSwitchesThemOnAndTheUndefinedCountFollows) {
    std::vector<SyncAction> rows = MixedRows();
    for (SyncAction& row : rows) {
        row.pathA = AString("/one/") + row.text1;
        row.pathB = AString("/two/") + row.text2;
    }
    Open(rows, &sync);
    SelectRows(dialog->View(), {2});
    dialog->OnCommand(30041); // Set to: Replace in Directory 1
    EXPECT_EQ(actions[2].displayIndex, static_cast<uint32_t>(kReplaceIn1));
    EXPECT_EQ(actions[2].code, static_cast<uint32_t>(kActionReplace));
    EXPECT_EQ(actions[2].enabled, 1U);
    EXPECT_EQ(actions[2].pathA, AString("/two/u1"));
    EXPECT_EQ(dialog->View().model()->index(2, 1).data().toString(), "/one/u1");
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 4 / 6 actions selected, 1 undefined actions");
    SelectRows(dialog->View(), {4});
    dialog->OnCommand(30040);
    EXPECT_EQ(actions[4].displayIndex, static_cast<uint32_t>(kReplaceIn2));
    EXPECT_EQ(dialog->windowTitle(), "Sync Actions to Perform - 5 / 6 actions selected");

    // A change that does not fit a selected row leaves it alone.
    SelectRows(dialog->View(), {0, 1});
    dialog->OnCommand(30034);
    EXPECT_EQ(actions[0].displayIndex, static_cast<uint32_t>(kDeleteFrom2));
    EXPECT_EQ(actions[1].displayIndex, static_cast<uint32_t>(kDeleteFrom2));
    EXPECT_EQ(actions[1].text2, AString("c"));
}

TEST_F(SyncActionList, AColumnSortsAscendingDescendingAndAscendingAgainWithTheArrow) {
    Open({SampleAction(kActionCopy, kCopyTo2, 1, "b"), SampleAction(kActionCopy, kCopyTo2, 1, "C"),
          SampleAction(kActionCopy, kCopyTo2, 1, "a")});
    ActionListView& view = dialog->View();
    ClickHeader(view, 1);
    EXPECT_EQ(ColumnTexts(view, 1), (QStringList{"a", "b", "C"}));
    EXPECT_EQ(view.Header().ArrowColumn(), 1);
    EXPECT_TRUE(view.Header().ArrowAscending());
    ClickHeader(view, 1);
    EXPECT_EQ(ColumnTexts(view, 1), (QStringList{"C", "b", "a"}));
    EXPECT_FALSE(view.Header().ArrowAscending());
    ClickHeader(view, 1);
    EXPECT_EQ(ColumnTexts(view, 1), (QStringList{"a", "b", "C"}));
    EXPECT_TRUE(view.Header().ArrowAscending());
    // The caller's actions keep their order.
    EXPECT_EQ(actions[0].text1, AString("b"));
}

TEST_F(SyncActionList, FixedColumnsKeepTheirWidthsAndTheSidesShareTheRest) {
    Open(MixedRows());
    ActionListView& view = dialog->View();
    const auto expectLayout = [&] {
        const int rest = view.viewport()->width() - 27 - 76;
        EXPECT_EQ(view.columnWidth(0), 27 + rest % 2);
        EXPECT_EQ(view.columnWidth(2), 76);
        EXPECT_EQ(view.columnWidth(1), rest / 2);
        EXPECT_EQ(view.columnWidth(3), rest / 2);
    };
    expectLayout();
    const QSize opened = dialog->size() - QSize(2, 2);
    EXPECT_EQ(dialog->MinimumTrackSize(), opened / 2);
    dialog->resize(dialog->size() + QSize(101, 40));
    Drain();
    expectLayout();
    QPushButton* cancel = dialog->ButtonById(ActionListDialog::kCancelButton);
    EXPECT_EQ(cancel->geometry().right(), dialog->width() - 7);
    EXPECT_EQ(dialog->View().geometry().bottom() + 1 + 16, cancel->y());

    const int width0 = view.columnWidth(0);
    DragDivider(view, 0, 30);
    EXPECT_EQ(view.columnWidth(0), width0);
    const int width1 = view.columnWidth(1);
    DragDivider(view, 1, -30);
    EXPECT_EQ(view.columnWidth(1), width1 - 30);
}

TEST_F(SyncActionList, CtrlASelectsEveryRowAndTooltipsNameTheCells) {
    Open(MixedRows());
    ActionListView& view = dialog->View();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.SelectedRows().size(), 6U);
    EXPECT_EQ(view.model()->index(0, 2).data(Qt::ToolTipRole).toString(), "Copy to Directory 1");
    EXPECT_EQ(view.model()->index(0, 1).data(Qt::ToolTipRole).toString(), "b");
    EXPECT_EQ(view.model()->index(0, 3).data(Qt::ToolTipRole).toString(), "x");
    EXPECT_FALSE(view.model()->index(0, 0).data(Qt::ToolTipRole).isValid());
}

// A wheel turned over a button reaches the dialog, as the button does not take it.
TEST_F(SyncActionList, TheWheelOverTheDialogScrollsTheList) {
    Open(std::vector<SyncAction>(200, SampleAction(kActionCopy, kCopyTo2, 1, "song")));
    const QPoint point = dialog->ButtonById(ActionListDialog::kCheckAllButton)->geometry().center();
    QWheelEvent wheel(point, dialog->mapToGlobal(point), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(dialog.get(), &wheel);
    EXPECT_GT(dialog->View().verticalScrollBar()->value(), 0);
}

TEST_F(SyncActionList, EscapeAndTheCloseBoxCancelWhileEnterExecutes) {
    Open(MixedRows());
    const auto answer = [&](const std::function<void()>& act) {
        QTimer::singleShot(0, dialog.get(), act);
        return dialog->Run();
    };
    EXPECT_EQ(answer([&] { QTest::keyClick(&dialog->View(), Qt::Key_Escape); }), nativeui::kIdCancel);
    EXPECT_EQ(answer([&] { dialog->close(); }), nativeui::kIdCancel);
    EXPECT_EQ(answer([&] { QTest::keyClick(&dialog->View(), Qt::Key_Return); }), nativeui::kIdOk);
}

TEST_F(SyncActionList, ARightClickOnTheListOpensTheMenuAndItsChoiceRuns) {
    Open(MixedRows(), &sync);
    SelectRows(dialog->View(), {0});
    QStringList shown;
    QTimer::singleShot(0, [&] {
        SpinUntil([] { return QApplication::activePopupWidget() != nullptr; });
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        shown = MenuLines(*menu);
        menu->setActiveAction(menu->actions().first());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint point = dialog->View().visualRect(dialog->View().model()->index(0, 1)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, dialog->View().viewport()->mapToGlobal(point));
    QApplication::sendEvent(dialog->View().viewport(), &event);
    EXPECT_EQ(shown.first(), "Change to: Delete in Directory 2 #30034");
    EXPECT_EQ(actions[0].displayIndex, static_cast<uint32_t>(kDeleteFrom2));
}
