// The presenters run their dialogs for a worker that waits: a real folder sync and a real duplicates
// scan, with the GUI thread answering the dialog as a user would.

#include "DialogTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/dialogs/DesktopSyncActionPresenter.h"
#include "app/dialogs/DesktopToolActionPresenter.h"
#include "app/dialogs/DuplicatesListModel.h"
#include "app/dialogs/SyncActionListDlg.h"
#include "app/dialogs/SyncActionMenu.h"
#include "app/dialogs/ToolDupsActionList.h"
#include "app/dialogs/ToolDupsActionListDlg.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tools/LibraryTools.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"
#include "sync/ASync.h"
#include "sync/SyncFolders.h"
#include "sync/SyncOptions.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr int kButtonYes = 0;

// Runs the work on a worker while the GUI thread answers the dialog it opens: `answer` runs inside the
// dialog's modal loop, as the user's actions would.
template <class Dialog>
int RunAnswering(const std::function<int()>& work, const std::function<void(Dialog&)>& answer) {
    bool answered = false;
    ModalWatcher watcher([&](QWidget* modal) {
        auto* dialog = dynamic_cast<Dialog*>(modal);
        if (!dialog)
            return false;
        Drain();
        answer(*dialog);
        answered = true;
        return true;
    });
    std::atomic<bool> done{false};
    int result = -1;
    std::thread worker([&] {
        result = work();
        done = true;
    });
    SpinUntil([&] { return done.load(); }, std::chrono::milliseconds(30000));
    worker.join();
    EXPECT_TRUE(answered);
    return result;
}

int RowEndingWith(const ActionListView& view, int column, const QString& end) {
    const QStringList texts = ColumnTexts(view, column);
    for (int row = 0; row < texts.size(); ++row) {
        if (texts[row].endsWith(end))
            return row;
    }
    return -1;
}

class SyncThroughTheDialog : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            folders.Put(1, name, name);
        sync = folders.MakeSync(kDirection1To2, 0, &progress);
        sync->SetPresenter(&presenter);
    }

    SyncFolders folders;
    AProgress progress;
    RecordingUserInterface user;
    DesktopSyncActionPresenter presenter;
    std::unique_ptr<ASync> sync;
};

} // namespace

// One row is left out, another turned into its counterpart by its context entry: the sync performs
// exactly what the list then says.
TEST_F(SyncThroughTheDialog, TheSyncPerformsTheListAsTheUserLeftIt) {
    user.QueueAnswers({kButtonYes});
    const int result = RunAnswering<SyncActionListDlg>(
        [&] { return sync->Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false); },
        [](SyncActionListDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Sync Actions to Perform - 3 / 3 actions selected");
            // Modal, but to no other window: the main window stays usable while the sync waits.
            EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
            EXPECT_EQ(dialog.parentWidget(), nullptr);
            ActionListView& view = dialog.View();
            const int b = RowEndingWith(view, SyncActionListDlg::kSide1Column, QStringLiteral("b.mp3"));
            const int c = RowEndingWith(view, SyncActionListDlg::kSide1Column, QStringLiteral("c.mp3"));
            ASSERT_GE(b, 0);
            ASSERT_GE(c, 0);
            const QModelIndex action = view.model()->index(b, SyncActionListDlg::kActionColumn);
            EXPECT_EQ(action.data(Qt::ToolTipRole).toString(), "Copy to Directory 2");
            EXPECT_EQ(action.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
            ClickCheckBox(view, b);
            EXPECT_EQ(dialog.windowTitle(), "Sync Actions to Perform - 2 / 3 actions selected");
            SelectRows(view, {c});
            dialog.OnCommand(SyncActionMenu::kFirstChange + kChangeCopyTo2ToDelete);
            EXPECT_EQ(
                view.model()->index(c, SyncActionListDlg::kActionColumn).data(Qt::ToolTipRole).toString(),
                "Delete from Directory 1");
            QTest::mouseClick(dialog.ButtonById(ActionListDialog::kExecuteButton), Qt::LeftButton);
        });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(folders.Tree(1), (std::map<std::string, std::string>{{"a.mp3", "a.mp3"}, {"b.mp3", "b.mp3"}}));
    EXPECT_EQ(folders.Tree(2), (std::map<std::string, std::string>{{"a.mp3", "a.mp3"}}));
}

TEST_F(SyncThroughTheDialog, ARefusedListChangesNothing) {
    const int result = RunAnswering<SyncActionListDlg>(
        [&] { return sync->Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false); },
        [](SyncActionListDlg& dialog) {
            QTest::mouseClick(dialog.ButtonById(ActionListDialog::kCancelButton), Qt::LeftButton);
        });
    EXPECT_EQ(result, kUserCancel);
    EXPECT_TRUE(folders.Tree(2).empty());
}

namespace {

class DuplicatesThroughTheDialog : public ::testing::Test {
protected:
    DuplicatesThroughTheDialog() {
        LibraryTools::Install();
        ADirSong::SetToolActionPresenter(&presenter);
    }
    ~DuplicatesThroughTheDialog() override {
        ADirSong::SetToolActionPresenter(nullptr);
        ADirSong::SetLibraryTools(nullptr);
    }

    // Copies of one song; more frames make a larger file.
    void PutCopy(const std::string& name, int audioFrames) {
        TestSongTags tags = SongTags("Pop", "Abba", "Gold", "Fernando");
        tags.audioFrames = audioFrames;
        WriteSongFile(dir.File("music/" + name), MakeMp3(tags));
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir.File("music/" + name)); }

    TempDir dir;
    AProgress progress;
    DesktopToolActionPresenter presenter;
    ADirSongDir folder{&progress};
};

} // namespace

TEST_F(DuplicatesThroughTheDialog, ExecuteRemovesExactlyTheCopiesNotKept) {
    PutCopy("e1.mp3", 6);
    PutCopy("e2.mp3", 4);
    PutCopy("e3.mp3", 5);
    const AString root(dir.File("music").c_str());
    folder.SetKeepRemovedFiles(0);
    ASSERT_EQ(folder.Open(&root, 0, CancelCallback()), 0);

    const int result = RunAnswering<ToolDupsActionListDlg>(
        [&] { return folder.RemoveDuplicates(CancelCallback(), 1); },
        [](ToolDupsActionListDlg& dialog) {
            ToolDupsActionList& view = dialog.View();
            DuplicatesListModel& model = dialog.Model();
            ASSERT_EQ(model.rowCount(), 3);
            EXPECT_EQ(dialog.windowTitle(), "Remove Duplicates  - 1 / 1 items selected");
            EXPECT_FALSE(model.index(0, DuplicatesListModel::kSongColumn).data().toString().isEmpty());
            EXPECT_TRUE(model.index(1, DuplicatesListModel::kSongColumn).data().toString().isEmpty());
            // Keep e3 instead of the copy the rule chose.
            const int e3 = RowEndingWith(view, DuplicatesListModel::kFileColumn, QStringLiteral("e3.mp3"));
            ASSERT_GE(e3, 0);
            ClickCell(view, e3, DuplicatesListModel::kKeepColumn);
            EXPECT_EQ(model.RowAt(e3).keep, 1U);
            QTest::mouseClick(dialog.ButtonById(ActionListDialog::kExecuteButton), Qt::LeftButton);
        });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Exists("e3.mp3"));
    EXPECT_FALSE(Exists("e1.mp3"));
    EXPECT_FALSE(Exists("e2.mp3"));
}
