#include "app/dialogs/ToolDupsActionListDlg.h"

#include "DialogTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/dialogs/ArrowHeaderCtrl.h"
#include "app/dialogs/DuplicatesListModel.h"
#include "app/dialogs/ToolDupsActionList.h"

#include <QColor>
#include <gtest/gtest.h>

namespace {

constexpr uint64_t kEpochShift = 2082830400ULL;

class DuplicatesList : public ::testing::Test {
protected:
    // Groups of copies; the first copy of each group is kept.
    void AddGroups(std::initializer_list<int> sizes) {
        uint32_t group = 0;
        for (const int size : sizes) {
            ++group;
            const size_t first = rows.size();
            for (int copy = 0; copy < size; ++copy) {
                auto row = std::make_unique<SongToolAction>();
                row->kind = kToolRemoveDuplicates;
                row->group = group;
                row->checked = 0;
                row->displayText = AString(("song " + std::to_string(group)).c_str());
                row->fullPath =
                    AString(("/music/" + std::to_string(group) + "/" + std::to_string(copy)).c_str());
                row->fileSize = 1000 + copy;
                rows.push_back(std::move(row));
            }
            MakeKeptRow(rows, first);
        }
    }

    void Open() {
        ToolActionListRequest request;
        request.kind = kToolRemoveDuplicates;
        request.title = AString("Remove Duplicates From iPod - Songs to Remove");
        request.rows = &rows;
        dialog = std::make_unique<ToolDupsActionListDlg>(request);
        dialog->show();
        Drain();
    }

    // A click on the middle of the check box that a group's first row shows.
    void ClickGroupBox(int row) {
        ClickCell(dialog->View(), row, DuplicatesListModel::kCheckColumn,
                  QPoint(DuplicatesListModel::kCheckBoxInset + 6, ActionListView::kRowHeight / 2));
    }

    std::vector<uint32_t> Checked() const {
        std::vector<uint32_t> flags;
        for (const auto& row : rows)
            flags.push_back(row->checked);
        return flags;
    }

    SongToolActions rows;
    std::unique_ptr<ToolDupsActionListDlg> dialog;
};

} // namespace

TEST_F(DuplicatesList, CheckingARowChecksItsGroupAndTheTitleCountsGroups) {
    AddGroups({2, 3, 1, 2, 2});
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Remove Duplicates From iPod - Songs to Remove - 0 / 5 items selected");
    for (const int row : {0, 2, 6})
        ClickGroupBox(row);
    EXPECT_EQ(Checked(), (std::vector<uint32_t>{1, 1, 1, 1, 1, 0, 1, 1, 0, 0}));
    EXPECT_EQ(dialog->windowTitle(), "Remove Duplicates From iPod - Songs to Remove - 3 / 5 items selected");

    // The second row of a group has no check box.
    ClickGroupBox(3);
    EXPECT_EQ(Checked()[2], 1U);
    EXPECT_FALSE(dialog->Model().index(3, 0).data(ActionListModel::kImageRole).isValid());

    SelectRows(dialog->View(), {7, 8});
    dialog->OnCommand(30000);
    EXPECT_EQ(Checked(), (std::vector<uint32_t>{1, 1, 1, 1, 1, 0, 1, 1, 1, 1}));
    dialog->OnCommand(30003);
    EXPECT_EQ(Checked(), std::vector<uint32_t>(10, 0));
    EXPECT_EQ(dialog->windowTitle(), "Remove Duplicates From iPod - Songs to Remove - 0 / 5 items selected");
}

TEST_F(DuplicatesList, TheKeepRadioMovesTheKeepOnlyInACheckedGroup) {
    AddGroups({3});
    Open();
    ToolDupsActionList& view = dialog->View();
    ClickCell(view, 2, DuplicatesListModel::kKeepColumn);
    EXPECT_EQ(rows[0]->keep, 1U);
    EXPECT_EQ(rows[2]->keep, 0U);

    ClickGroupBox(0);
    ClickCell(view, 2, DuplicatesListModel::kKeepColumn);
    EXPECT_EQ(rows[2]->keep, 1U);
    EXPECT_EQ(rows[2]->keptRow, nullptr);
    EXPECT_EQ(rows[0]->keep, 0U);
    EXPECT_EQ(rows[0]->keptRow, rows[2].get());
    EXPECT_EQ(rows[1]->keptRow, rows[2].get());
    EXPECT_EQ(dialog->windowTitle(), "Remove Duplicates From iPod - Songs to Remove - 1 / 1 items selected");
}

TEST_F(DuplicatesList, FileDetailsShowAQuestionMarkForNothingKnown) {
    AddGroups({2});
    rows[0]->fileDate = 0;
    rows[0]->fileSize = 0;
    rows[1]->fileDate = 1591012800ULL + kEpochShift;
    rows[1]->duration = 75;
    rows[1]->bitRate = 192;
    rows[1]->hasPictures = 1;
    rows[1]->accountName = AString("me@x.com");
    Open();
    const QAbstractItemModel& model = dialog->Model();
    const auto cells = [&](int row) {
        QStringList texts;
        for (int column = DuplicatesListModel::kFileColumn; column < DuplicatesListModel::kColumnCount;
             ++column)
            texts << model.index(row, column).data().toString();
        return texts;
    };
    EXPECT_EQ(cells(0), (QStringList{"/music/1/0", "?", "?", "?", "?", "", "NO"}));
    EXPECT_EQ(cells(1), (QStringList{"/music/1/1", "06/01/2020 12:00:00 PM", "1001", "1:15", "192",
                                     "me@x.com", "YES"}));
    EXPECT_EQ(DuplicatesListModel::FormatDuration(3725), "1:02:05");
    EXPECT_EQ(DuplicatesListModel::FormatDuration(59), "0:59");
}

TEST_F(DuplicatesList, GroupsAlternateColoursAndUncheckedRowsAreGrey) {
    AddGroups({2, 1, 1});
    rows[3]->checked = 1;
    Open();
    const QAbstractItemModel& model = dialog->Model();
    const auto background = [&](int row) {
        return model.index(row, 1).data(Qt::BackgroundRole).value<QColor>();
    };
    const QColor a(237, 243, 254);
    const QColor b(255, 255, 255);
    EXPECT_EQ((std::vector<QColor>{background(0), background(1), background(2), background(3)}),
              (std::vector<QColor>{a, a, b, a}));
    EXPECT_TRUE(model.index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.index(3, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.index(1, 1).data().toString(), "");
}

TEST_F(DuplicatesList, OnlyTheCheckSongAndFileColumnsSort) {
    AddGroups({1, 2});
    rows[0]->checked = 1;
    Open();
    ToolDupsActionList& view = dialog->View();
    ClickHeader(view, DuplicatesListModel::kKeepColumn);
    ClickHeader(view, DuplicatesListModel::kSizeColumn);
    EXPECT_EQ(view.Header().ArrowColumn(), ArrowHeaderCtrl::kNoColumn);
    ClickHeader(view, DuplicatesListModel::kSongColumn);
    EXPECT_EQ(ColumnTexts(view, DuplicatesListModel::kFileColumn),
              (QStringList{"/music/2/1", "/music/2/0", "/music/1/0"}));
    ClickHeader(view, DuplicatesListModel::kCheckColumn);
    EXPECT_EQ(ColumnTexts(view, DuplicatesListModel::kFileColumn),
              (QStringList{"/music/1/0", "/music/2/1", "/music/2/0"}));
    EXPECT_EQ(ColumnTexts(view, DuplicatesListModel::kSongColumn), (QStringList{"song 1", "song 2", ""}));
}

TEST_F(DuplicatesList, ANarrowListKeepsSongAndFileAtAHundredPixels) {
    AddGroups({1});
    Open();
    ToolDupsActionList& view = dialog->View();
    dialog->resize(dialog->minimumWidth(), dialog->height());
    Drain();
    EXPECT_EQ(view.columnWidth(DuplicatesListModel::kSongColumn), 100);
    EXPECT_EQ(view.columnWidth(DuplicatesListModel::kFileColumn), 100);
    dialog->resize(1600, dialog->height());
    Drain();
    int fixed = 0;
    for (int column = DuplicatesListModel::kKeepColumn; column < DuplicatesListModel::kColumnCount; ++column)
        fixed += column == DuplicatesListModel::kFileColumn ? 0 : view.columnWidth(column);
    const int rest = view.viewport()->width() - 27 - fixed;
    EXPECT_EQ(view.columnWidth(DuplicatesListModel::kSongColumn), rest / 2);
    EXPECT_EQ(view.columnWidth(DuplicatesListModel::kCheckColumn), 27 + rest % 2);
}
