// Library tools run from the main window, offscreen, over a user of its own whose library holds song
// files added where they lie: the tool's list is driven as a user would, and the files on disk and
// the library's songs show what the run did.

#include "app/dialogs/DuplicatesListModel.h"
#include "app/dialogs/ToolActionListDlg.h"
#include "app/dialogs/ToolActionListModel.h"
#include "app/dialogs/ToolDupsActionList.h"
#include "app/dialogs/ToolDupsActionListDlg.h"
#include "app/window/MainMessages.h"
#include "dialogs/DialogTestSupport.h"
#include "harness/AppTestHome.h"
#include "harness/QtPrinting.h"
#include "harness/WindowUnderTest.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesSong.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tools/LibraryTools.h"
#include "platform/ui/PrivateMessage.h"
#include "sync/ASyncLib.h"
#include "sync/SyncSet.h"
#include "widgets/WidgetTestSupport.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;
using nativeui::PrivateMessage;

namespace {

constexpr int kRemoveDuplicatesFromITunes = 32837;
constexpr int kRemoveMusicNotOwnedFromITunes = 32831;

class ToolRunScenarioTest : public testing::Test {
protected:
    // As the program does at its start.
    ToolRunScenarioTest() { LibraryTools::Install(); }

    // A song file below "songs", not yet in the library.
    std::string Song(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = home.Folder().File("songs/" + name);
        WriteSongFile(path, bytes);
        return path;
    }
    static std::vector<uint8_t> Mp3(const char* title, int audioFrames = 4) {
        TestSongTags tags = SongTags("Pop", "Abba", "Gold", title);
        tags.audioFrames = audioFrames;
        return MakeMp3(tags);
    }
    static void AddToLibrary(const std::vector<std::string>& paths) {
        ITunes library;
        ASSERT_EQ(library.Connect(), 0);
        std::vector<AString> files;
        for (const std::string& path : paths)
            files.push_back(AString::FromUtf8(path));
        std::vector<ITunesSong*> songs;
        ASSERT_EQ(library.AddFiles(files, songs), 0);
        ASSERT_EQ(songs.size(), paths.size());
    }
    // The files of the library's songs.
    static std::set<std::string> LibraryFiles() {
        ITunes library;
        EXPECT_EQ(library.Connect(), 0);
        EXPECT_EQ(library.LoadMasterList(false, AString(), nullptr, nullptr, nullptr), 0);
        std::set<std::string> files;
        for (int i = 0; i < library.GetSongCount(); ++i) {
            if (const ITunesSong* song = library.GetSongAt(i))
                files.insert(song->GetPath().ToUtf8());
        }
        return files;
    }
    // Hands each list dialog, once it shows, to `drive`; message boxes are closed and kept.
    std::unique_ptr<ModalWatcher> DriveLists(std::function<void(ActionListDialog&)> drive) {
        return std::make_unique<ModalWatcher>([this, drive = std::move(drive)](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                boxes.append(box->text());
                box->done(QMessageBox::Ok);
            } else if (auto* list = dynamic_cast<ActionListDialog*>(modal); list && list->isVisible()) {
                ++listsShown;
                drive(*list);
            }
            return false;
        });
    }
    // The command as the menu posts it, taken at once, so that the run is known to have begun.
    static void RunTool(WindowUnderTest& test, int command) {
        PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(command, 0));
        QCoreApplication::sendPostedEvents(&test.Window());
        ASSERT_TRUE(test.Window().IsBusy());
        ASSERT_TRUE(test.WaitIdle());
    }

    // The run's last line (the library's own reading ends in "Done!" too).
    static bool Ended(WindowUnderTest& test) {
        return test.Controls().log.toPlainText().contains(
            QRegularExpression(QStringLiteral("^Done!$"), QRegularExpression::MultilineOption));
    }

    AppTestHome home;
    QStringList boxes;
    int listsShown = 0;
};

} // namespace

// Two groups of copies and a song of its own: the user checks one group and keeps another of its
// copies than the one proposed. Only that group's other copies leave, from the disk and the library.
TEST_F(ToolRunScenarioTest, RemovingDuplicatesKeepsTheChosenCopyOfTheCheckedGroupOnly) {
    const std::vector<std::string> fernando = {Song("a/1.mp3", Mp3("Fernando", 6)),
                                               Song("a/2.mp3", Mp3("Fernando")),
                                               Song("a/3.mp3", Mp3("Fernando"))};
    const std::vector<std::string> untouched = {
        Song("b/1.mp3", Mp3("Waterloo")), Song("b/2.mp3", Mp3("Waterloo")), Song("c.mp3", Mp3("Chiquitita"))};
    std::vector<std::string> all = fernando;
    all.insert(all.end(), untouched.begin(), untouched.end());
    AddToLibrary(all);

    QStringList titles;
    QStringList details;
    std::string chosen;
    std::string proposed;
    const auto watcher = DriveLists([&](ActionListDialog& shown) {
        auto* dialog = dynamic_cast<ToolDupsActionListDlg*>(&shown);
        if (!dialog)
            return shown.reject();
        titles << dialog->windowTitle();
        DuplicatesListModel& model = dialog->Model();
        // The group of Fernando: its rows, the first of them carrying the group's check box.
        const QStringList durations = ColumnTexts(dialog->View(), DuplicatesListModel::kDurationColumn);
        const QStringList albumArt = ColumnTexts(dialog->View(), DuplicatesListModel::kAlbumArtColumn);
        std::vector<int> rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            details << durations[row] + " " + albumArt[row];
            const std::string file = model.RowAt(row).fullPath.ToUtf8();
            if (std::find(fernando.begin(), fernando.end(), file) != fernando.end())
                rows.push_back(row);
        }
        if (rows.size() != fernando.size())
            return dialog->reject();
        // The groups come checked: the user leaves all but Fernando's alone.
        dialog->ButtonById(ActionListDialog::kUncheckAllButton)->click();
        titles << dialog->windowTitle();
        ClickCell(dialog->View(), rows.front(), DuplicatesListModel::kCheckColumn,
                  QPoint(DuplicatesListModel::kCheckBoxInset + 6, ActionListView::kRowHeight / 2));
        titles << dialog->windowTitle();
        for (const int row : rows) {
            const SongToolAction& copy = model.RowAt(row);
            (copy.keep ? proposed : chosen) = copy.fullPath.ToUtf8();
        }
        for (const int row : rows) {
            if (model.RowAt(row).fullPath.ToUtf8() == chosen)
                ClickCell(dialog->View(), row, DuplicatesListModel::kKeepColumn);
        }
        dialog->ButtonById(ActionListDialog::kExecuteButton)->click();
    });
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    RunTool(test, kRemoveDuplicatesFromITunes);

    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
    ASSERT_EQ(listsShown, 1) << test.Controls().log.toPlainText().toStdString();
    EXPECT_EQ(titles,
              QStringList({"Remove Duplicates From iTunes - Songs to Remove - 2 / 2 items selected",
                           "Remove Duplicates From iTunes - Songs to Remove - 0 / 2 items selected",
                           "Remove Duplicates From iTunes - Songs to Remove - 1 / 2 items selected"}));
    // Songs of a few frames last no whole second and carry no pictures.
    EXPECT_EQ(details, QStringList(5, "? NO"));
    ASSERT_FALSE(chosen.empty());
    ASSERT_FALSE(proposed.empty());
    EXPECT_TRUE(SpinUntil([&] { return Ended(test); })) << test.Controls().log.toPlainText().toStdString();

    std::set<std::string> remaining(untouched.begin(), untouched.end());
    remaining.insert(chosen);
    for (const std::string& file : all)
        EXPECT_EQ(fs::exists(file), remaining.count(file) == 1) << file;
    EXPECT_EQ(LibraryFiles(), remaining);
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
}

// "Add AppleID to list" in the list of music not owned takes the row off the list, so its song stays,
// and makes the Apple ID one of the user's own in the loaded set: the next run finds nothing, and the
// set keeps it. The user's own Apple ID is known already: without one, nothing is music not owned.
TEST_F(ToolRunScenarioTest, AnAppleIdAddedFromTheListBecomesTheUsersOwnInTheLoadedSet) {
    TestSongTags tags = SongTags("Pop", "Abba", "Gold", "Bought");
    tags.account = "stranger@example.com";
    const std::string bought = Song("bought.m4p", MakeMp4(tags, 64));
    AddToLibrary({bought});
    const AString setFile = AString::FromUtf8(home.SyncSetsFolder() + "/00000000.sync");
    {
        WindowUnderTest first(home);
        ASSERT_TRUE(first.StartAndWaitIdle());
        PrivateMessage::Post(&first.Window(), mainmsg::kWmClose);
        ASSERT_TRUE(SpinUntil([&] { return first.Window().IsEnded(); }));
    }
    {
        SyncSet known;
        ASSERT_EQ(known.Load(setFile), 0);
        dynamic_cast<ASyncLib&>(*known.GetSync(0)).SetAppleIDs(AString(":me@example.com:"));
        ASSERT_EQ(known.Save(setFile), 0);
    }

    QStringList titles;
    const auto watcher = DriveLists([&](ActionListDialog& shown) {
        auto* dialog = dynamic_cast<ToolActionListDlg*>(&shown);
        if (!dialog)
            return shown.reject();
        titles << dialog->windowTitle()
               << ColumnTexts(dialog->View(), ToolActionListModel::kAppleIdColumn).join("|");
        SelectRows(dialog->View(), {0});
        dialog->OnCommand(ToolActionListDlg::kAddAppleId);
        titles << dialog->windowTitle();
        dialog->ButtonById(ActionListDialog::kExecuteButton)->click();
    });
    {
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        RunTool(test, kRemoveMusicNotOwnedFromITunes);
        ASSERT_EQ(listsShown, 1) << test.Controls().log.toPlainText().toStdString();
        EXPECT_EQ(
            titles,
            QStringList({"Remove Music Not Owned From iTunes - Songs to Remove - 1 / 1 items selected",
                         "stranger@example.com",
                         "Remove Music Not Owned From iTunes - Songs to Remove - 0 / 0 items selected"}));
        EXPECT_TRUE(SpinUntil([&] { return Ended(test); }))
            << test.Controls().log.toPlainText().toStdString();
        EXPECT_TRUE(fs::exists(bought));
        EXPECT_EQ(LibraryFiles(), std::set<std::string>({bought}));

        RunTool(test, kRemoveMusicNotOwnedFromITunes);
        EXPECT_EQ(listsShown, 1);
        EXPECT_EQ(boxes, QStringList({"No Unowned Music Files Detected!"}));
        PrivateMessage::Post(&test.Window(), mainmsg::kWmClose);
        ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }));
    }
    SyncSet saved;
    ASSERT_EQ(saved.Load(setFile), 0);
    const auto* first = dynamic_cast<const ASyncLib*>(saved.GetSync(0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetAppleIDs(), AString(":me@example.com:stranger@example.com:"));
}
