#include "DialogTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/dialogs/AddPlayListDlg.h"
#include "app/dialogs/SelectPlayListsDlg.h"
#include "platform/ui/WindowMessages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

std::vector<PlayListChoice> Choices() {
    return {{1, AString("Jazz"), 1, 0, 0}, {0, AString("Mix"), 1, 1, 1}, {1, AString("Pop"), 0, 1, 0}};
}

std::vector<uint32_t> Selected(const std::vector<PlayListChoice>& records) {
    std::vector<uint32_t> flags;
    for (const PlayListChoice& record : records)
        flags.push_back(record.selected);
    return flags;
}

// Runs the dialog and clicks one of its buttons from inside its modal loop.
template <class Dialog> int RunClicking(Dialog& dialog, QAbstractButton* button) {
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
    return dialog.Run();
}

} // namespace

TEST(SelectPlayListsDialog, OkStoresTheCheckBoxesAndCancelChangesNothing) {
    std::vector<PlayListChoice> records = Choices();
    SelectPlayListsDlg dialog(nullptr);
    dialog.SetRecords(&records, SelectPlayListsDlg::kPodHeaders);
    dialog.show();
    Drain();
    EXPECT_EQ(dialog.windowTitle(), "Playlists to Synchronize");
    ClickCheckBox(dialog.List(), 1);
    ClickCheckBox(dialog.List(), 2);
    EXPECT_EQ(Selected(records), (std::vector<uint32_t>{1, 0, 1}));
    EXPECT_EQ(RunClicking(dialog, dialog.ButtonById(SelectPlayListsDlg::kCancelButton)), nativeui::kIdCancel);
    EXPECT_EQ(Selected(records), (std::vector<uint32_t>{1, 0, 1}));
    EXPECT_EQ(RunClicking(dialog, dialog.ButtonById(SelectPlayListsDlg::kOkButton)), nativeui::kIdOk);
    EXPECT_EQ(Selected(records), (std::vector<uint32_t>{1, 1, 0}));

    QTest::mouseClick(dialog.ButtonById(SelectPlayListsDlg::kUncheckAllButton), Qt::LeftButton);
    EXPECT_EQ(RunClicking(dialog, dialog.ButtonById(SelectPlayListsDlg::kOkButton)), nativeui::kIdOk);
    EXPECT_EQ(Selected(records), (std::vector<uint32_t>{0, 0, 0}));
}

TEST(SelectPlayListsDialog, NamesStandOnBothSidesGreyWhereAbsentAndRedWhereTheyClash) {
    std::vector<PlayListChoice> records = Choices();
    SelectPlayListsDlg dialog(nullptr);
    dialog.SetRecords(&records, SelectPlayListsDlg::kRemoteHeaders);
    const QAbstractItemModel& model = *dialog.List().model();
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Local iTunes");
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "Remote iTunes");
    EXPECT_EQ(model.index(0, 1).data().toString(), "Jazz");
    EXPECT_EQ(model.index(0, 3).data().toString(), "Jazz");
    EXPECT_FALSE(model.index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.index(0, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(109, 109, 109));
    EXPECT_EQ(model.index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
}

TEST(SelectPlayListsDialog, TheCheckColumnKeepsItsWidthAndTheRightNameTakesTheOddPixel) {
    std::vector<PlayListChoice> records;
    SelectPlayListsDlg dialog(nullptr);
    dialog.SetRecords(&records, SelectPlayListsDlg::kPodHeaders);
    dialog.show();
    for (const int width : {500, 501}) {
        dialog.resize(width, dialog.height());
        Drain();
        const SelectPlayLists& list = dialog.List();
        const int shared = list.width() - 4 - 25;
        EXPECT_EQ(list.columnWidth(0), 0);
        EXPECT_EQ(list.columnWidth(2), 25);
        EXPECT_EQ(list.columnWidth(1), shared / 2);
        EXPECT_EQ(list.columnWidth(3), (shared + 1) / 2);
    }
    EXPECT_EQ(dialog.List().model()->rowCount(), 0);
}

TEST(AddPlayListDialog, TheNameLosesTheBlanksAroundIt) {
    AddPlayListDlg dialog(nullptr);
    dialog.Edit().setText(QStringLiteral("  Road Trip \t"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ctl_1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(RunClicking(dialog, ok), nativeui::kIdOk);
    EXPECT_EQ(dialog.Name(), "Road Trip");

    dialog.Edit().setText(QStringLiteral("   "));
    EXPECT_EQ(RunClicking(dialog, ok), nativeui::kIdOk);
    EXPECT_EQ(dialog.Name(), "");
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog.Edit(), Qt::Key_Escape); });
    EXPECT_EQ(dialog.Run(), nativeui::kIdCancel);
}
