// A whole sync as a user runs it from the main window, offscreen, with the real parts: the music
// application's library with tagged songs and a playlist of them, an iPod volume read and written
// through its own database, the sync engine on the window's worker, and the sync action list.

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/SyncActionListDlg.h"
#include "app/window/MainMessages.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/LibrarySongs.h"
#include "harness/QtPrinting.h"
#include "harness/RecordingShell.h"
#include "harness/WindowUnderTest.h"
#include "library/itunes/ITunes.h"
#include "library/songlists/TestSongFiles.h"
#include "platform/ui/PrivateMessage.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AAlert.h"
#include "widgets/ControlMessages.h"
#include "widgets/WidgetTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <regex>

using nativeui::PrivateMessage;
namespace fs = std::filesystem;

namespace {

constexpr int kCopyITunesToIPod = 32792;

// The alert's visible texts, one after the other.
QString Texts(const AAlert& alert) {
    QStringList texts;
    for (const QLabel* label : alert.findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    }
    return texts.join(" / ");
}

class WholeSyncScenarioTest : public testing::Test {
protected:
    void SetUp() override {
        // An iPod that belongs to no library, does not update itself and has no songs yet.
        pod = home.Folder().File("pod");
        WriteFakePod(pod, {u"My iPod", {}, 0, "", false});
        WriteBytes(pod + "/iPod_Control/iTunes/iTunesPrefs", std::vector<uint8_t>(64, 0));
        fs::create_directories(pod + "/iPod_Control/Music");
        home.MountVolume(pod);
        // Three songs on the playlist "Road Trip", a fourth only in the library.
        waterloo = AddLibrarySong(Song("Waterloo"), SongTags("Pop", "Abba", "Gold", "Waterloo", "1"));
        mammaMia = AddLibrarySong(Song("Mamma Mia"), SongTags("Pop", "Abba", "Gold", "Mamma Mia", "2"));
        fernando = AddLibrarySong(Song("Fernando"), SongTags("Pop", "Abba", "Gold", "Fernando", "3"));
        chiquitita = AddLibrarySong(Song("Chiquitita"), SongTags("Pop", "Abba", "Gold", "Chiquitita", "4"));
        MakeLibraryPlayList(u"Road Trip", {waterloo, mammaMia, fernando});
    }

    std::string Song(const std::string& title) const { return home.Folder().File("songs/" + title + ".mp3"); }

    // Answers message boxes with OK and the sync's questions with "Yes", keeping their texts; hands
    // the sync action list to `act` each time the watcher sees it on top.
    std::unique_ptr<ModalWatcher> WatchActionList(std::function<void(SyncActionListDlg&)> act) {
        return std::make_unique<ModalWatcher>([this, act = std::move(act)](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                boxes.append(box->text());
                box->done(QMessageBox::Ok);
            } else if (auto* alert = dynamic_cast<AAlert*>(modal)) {
                questions.append(Texts(*alert));
                for (QPushButton* button : alert->findChildren<QPushButton*>()) {
                    if (button->isVisible() && button->text() == "Yes")
                        button->click();
                }
            } else if (auto* list = dynamic_cast<SyncActionListDlg*>(modal)) {
                act(*list);
            }
            return false;
        });
    }

    // The user chooses the iPod, the library's playlist "Road Trip" against the iPod's main library,
    // and "Copy iTunes to iPod" in the sync picture.
    void ChooseTheSync(WindowUnderTest& test) {
        ASSERT_TRUE(test.StartAndWaitIdle());
        ASSERT_EQ(test.ChooserTexts().first(), "My iPod");
        ASSERT_TRUE(test.Controls().chooser.OnCommand(controlmsg::kComboFirstCommand + 0));
        Drain();
        ASSERT_TRUE(test.WaitIdle());
        SeparatorComboBox& left = test.Controls().leftPlayLists;
        const int roadTrip = test.ComboTexts(left).indexOf("Road Trip");
        ASSERT_GT(roadTrip, 0) << test.ComboTexts(left).join("|").toStdString();
        left.setCurrentIndex(roadTrip);
        emit left.activated(roadTrip);
        Drain();
        ASSERT_TRUE(test.WaitIdle());
        EXPECT_EQ(test.Controls().rightPlayLists.currentText(), "iPod Main Library");
        PrivateMessage::Post(&test.Window(), nativeui::kWmCommand,
                             nativeui::MakeWParam(kCopyITunesToIPod, 0));
        ASSERT_TRUE(
            SpinUntil([&] { return test.Controls().syncPicture.toolTip() == "Copy iTunes to iPod"; }));
        ASSERT_TRUE(test.WaitIdle());
    }

    void StartNow(WindowUnderTest& test) {
        PrivateMessage::Post(&test.Window(), nativeui::kWmCommand,
                             nativeui::MakeWParam(mainmsg::kCmdStartNow, 0));
    }

    QString Log(WindowUnderTest& test) { return test.Controls().log.toPlainText(); }

    AppTestHome home;
    std::string pod;
    std::string waterloo, mammaMia, fernando, chiquitita;
    QStringList boxes;
    QStringList questions;
};

// The files below a folder, sorted.
std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files.push_back(item.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Each row as "check | Directory 1 | action | Directory 2 | colour".
QStringList Rows(const SyncActionListDlg& list) {
    const QAbstractItemModel& model = *list.View().model();
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const auto cell = [&](int column, int role = Qt::DisplayRole) {
            return model.index(row, column).data(role);
        };
        const bool checked = cell(SyncActionListDlg::kCheckColumn, Qt::CheckStateRole).toInt() == Qt::Checked;
        rows << QStringLiteral("%1 | %2 | %3 | %4 | %5")
                    .arg(checked ? "x" : " ", cell(SyncActionListDlg::kSide1Column).toString(),
                         cell(SyncActionListDlg::kActionColumn, Qt::ToolTipRole).toString(),
                         cell(SyncActionListDlg::kSide2Column).toString(),
                         cell(SyncActionListDlg::kSide1Column, Qt::ForegroundRole).value<QColor>().name());
    }
    return rows;
}

void ClickCheckBox(ActionListView& view, int row) {
    const QRect cell = view.visualRect(view.model()->index(row, SyncActionListDlg::kCheckColumn));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

// Selects the row by a click on its text, opens the dialog's context menu over it and clicks `entry`.
void ChooseFromContextMenu(SyncActionListDlg& list, int row, const QString& entry) {
    ActionListView& view = list.View();
    const QRect cell = view.visualRect(view.model()->index(row, SyncActionListDlg::kSide1Column));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    bool clicked = false;
    // The menu runs its own loop: the click comes from inside it, once the menu shows.
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        for (QAction* action : menu->actions()) {
            if (action->text() == entry && action->isEnabled()) {
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                  menu->actionGeometry(action).center());
                clicked = true;
                return;
            }
        }
        menu->close();
    });
    poll.start();
    const QPoint at = view.viewport()->mapTo(&list, cell.center());
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.mapToGlobal(at));
    QApplication::sendEvent(&list, &event);
    EXPECT_TRUE(clicked) << "no entry " << entry.toStdString();
}

} // namespace

// The list shows the playlist's three songs to copy; one is switched off, one turned into a delete
// from iTunes (here the chosen playlist); "Execute" copies one song onto the iPod, takes one out of
// the playlist after asking, and leaves the rest as it was.
TEST_F(WholeSyncScenarioTest, TheConfirmedActionsChangeTheIPodAndTheLibraryExactlySo) {
    QStringList shown;
    QString title;
    QStringList changed;
    bool done = false;
    const auto watcher = WatchActionList([&](SyncActionListDlg& list) {
        if (done)
            return;
        done = true;
        shown = Rows(list);
        title = list.windowTitle();
        ClickCheckBox(list.View(), 1);
        ChooseFromContextMenu(list, 2, "Change to: Delete in iTunes");
        changed = Rows(list);
        changed << list.windowTitle();
        list.ButtonById(ActionListDialog::kExecuteButton)->click();
    });
    WindowUnderTest test(home);
    ChooseTheSync(test);
    StartNow(test);
    ASSERT_TRUE(SpinUntil([&] { return done || !boxes.isEmpty(); }, std::chrono::milliseconds(20000)))
        << Log(test).toStdString();
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();

    // Three songs to copy, sorted by their entries, in the colour of a copy.
    const QString copy = " | Copy to iPod | iPod: My iPod Main Library | #008000";
    EXPECT_EQ(title, "Sync Actions to Perform - 3 / 3 actions selected");
    EXPECT_EQ(shown, QStringList({"x | iTunes:Road Trip: Pop; Abba; Gold; Fernando; mp3" + copy,
                                  "x | iTunes:Road Trip: Pop; Abba; Gold; Mamma Mia; mp3" + copy,
                                  "x | iTunes:Road Trip: Pop; Abba; Gold; Waterloo; mp3" + copy}));
    EXPECT_EQ(
        changed,
        QStringList({"x | iTunes:Road Trip: Pop; Abba; Gold; Fernando; mp3" + copy,
                     "  | iTunes:Road Trip: Pop; Abba; Gold; Mamma Mia; mp3" + copy,
                     "x | iTunes:Road Trip: Pop; Abba; Gold; Waterloo; mp3 | Delete from iTunes |  | #ff0000",
                     "Sync Actions to Perform - 2 / 3 actions selected"}));
    EXPECT_EQ(questions,
              QStringList({"Delete file? / Delete / iTunes:Road Trip: Pop; Abba; Gold; Waterloo; mp3"}));

    // The log tells the two actions in their order.
    ASSERT_TRUE(SpinUntil([&] { return Log(test).contains("Sync completed."); })) << Log(test).toStdString();
    const QString log = Log(test);
    qsizetype at = 0;
    for (const char* line :
         {"Initializing sync...", "Syncing: 3 in source and 0 in dest.", "Sync ready.", "Performing sync...",
          "Action 1 of 2 Copying Abba; Gold; Fernando to iPod: My iPod Main Library",
          "Action 2 of 2 Deleting Abba; Gold; Waterloo", "Sync completed."}) {
        const qsizetype found = log.indexOf(QLatin1String(line), at);
        EXPECT_GE(found, at) << line << " missing or out of order in\n" << log.toStdString();
        at = std::max(at, found);
    }

    // The copied song is the iPod's only track and only file; the deleted one left the playlist
    // only (its song and file stay in the library); the unchecked one and the fourth are untouched.
    const std::multimap<std::string, std::string> tracks = PodTracks(pod);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks.begin()->first, "Fernando");
    const std::string copied = tracks.begin()->second;
    EXPECT_TRUE(std::regex_match(copied, std::regex("/iPod_Control/Music/F[0-9]{2}/[A-Z0-9]{4}\\.mp3")))
        << copied;
    EXPECT_EQ(ReadBytes(pod + copied), ReadBytes(fernando));
    EXPECT_EQ(FilesBelow(pod + "/iPod_Control/Music"), std::vector<std::string>({pod + copied}));
    EXPECT_EQ(PlayListFiles(u"Road Trip"), std::vector<std::string>({mammaMia, fernando}));
    std::vector<std::string> library = LibraryFiles();
    std::sort(library.begin(), library.end());
    EXPECT_EQ(library, std::vector<std::string>({chiquitita, fernando, mammaMia, waterloo}));
    EXPECT_EQ(FilesBelow(home.Folder().File("songs")), library);

    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    EXPECT_TRUE(test.Controls().chooser.isEnabled());
}

// A cancel while the sync runs (the status strip's cancel button, or "Cancel" in the Sync menu) is
// seen at the sync's next poll: here right after the list was confirmed, so nothing is performed.
// Until the run has ended every command is asked to wait; afterwards the window works again.
struct CancelRoute {
    const char* name;
    unsigned message;
    intptr_t wParam;
};

void PrintTo(const CancelRoute& route, std::ostream* out) {
    *out << route.name;
}

class CancelRouteTest : public WholeSyncScenarioTest, public testing::WithParamInterface<CancelRoute> {};

TEST_P(CancelRouteTest, StopsTheRunAtItsNextPollAndEveryCommandMeanwhileIsAskedToWait) {
    // Commands that need the window to themselves: two sync types, the settings sheet, a new
    // playlist, the playlists to synchronize, adding songs, the library's HTML list, a library tool.
    const std::vector<int> commands = {32779,
                                       32795,
                                       mainmsg::kCmdSyncOptions,
                                       mainmsg::kCmdNewTunesPlayList,
                                       mainmsg::kCmdSelectPlayLists,
                                       mainmsg::kCmdAddFilesToLibrary,
                                       mainmsg::kCmdLibraryHtmlList,
                                       32837};
    WindowUnderTest* window = nullptr;
    enum class Step { Waiting, Asked, Executed } step = Step::Waiting;
    const auto watcher = WatchActionList([&](SyncActionListDlg& list) {
        if (step == Step::Waiting) {
            step = Step::Asked;
            PrivateMessage::Post(&window->Window(), GetParam().message, GetParam().wParam);
            for (const int command : commands)
                PrivateMessage::Post(&window->Window(), nativeui::kWmCommand,
                                     nativeui::MakeWParam(command, 0));
        } else if (step == Step::Asked && boxes.size() == static_cast<qsizetype>(commands.size())) {
            step = Step::Executed;
            list.ButtonById(ActionListDialog::kExecuteButton)->click();
        }
    });
    RecordingShell shell;
    WindowUnderTest test(home, {}, {.shell = &shell});
    window = &test;
    ChooseTheSync(test);
    const std::vector<uint8_t> database = ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB");
    StartNow(test);
    ASSERT_TRUE(SpinUntil([&] { return step == Step::Executed; }, std::chrono::milliseconds(20000)))
        << Log(test).toStdString() << boxes.join("|").toStdString();
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_EQ(boxes, QStringList(static_cast<qsizetype>(commands.size()),
                                 QString::fromLatin1(CHalvendorDlg::kPleaseWait)));
    EXPECT_TRUE(SpinUntil([&] { return Log(test).contains("User cancelled."); })) << Log(test).toStdString();
    EXPECT_FALSE(Log(test).contains("Performing sync...")) << Log(test).toStdString();
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB"), database);
    EXPECT_EQ(LibraryFiles().size(), 4u);
    EXPECT_EQ(test.Controls().syncPicture.toolTip(), "Copy iTunes to iPod")
        << "the refused types changed nothing";

    // Idle and usable again.
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    EXPECT_TRUE(test.Controls().chooser.isEnabled());
    boxes.clear();
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(32795, 0));
    EXPECT_TRUE(
        SpinUntil([&] { return test.Controls().syncPicture.toolTip() == "Make iTunes equal to iPod"; }));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Routes, CancelRouteTest,
                         testing::Values(CancelRoute{"StatusStripCancel", mainmsg::kWmCancelOperation, 0},
                                         CancelRoute{"SyncMenuCancel", nativeui::kWmCommand,
                                                     nativeui::MakeWParam(mainmsg::kCmdCancelSync, 0)}),
                         [](const testing::TestParamInfo<CancelRoute>& info) {
                             return std::string(info.param.name);
                         });

// A sync that fails its first check ends at once. An iPod whose preferences file cannot be read is
// refused with the file named and the reason; an iPod that updates itself with the sync's own
// message. Neither is repeated by the window.
struct FailedCheck {
    const char* name;
    std::vector<uint8_t> prefs;
    QStringList boxes; // "{pod}" stands for the iPod's folder
};

void PrintTo(const FailedCheck& check, std::ostream* out) {
    *out << check.name;
}

class FailedCheckTest : public WholeSyncScenarioTest, public testing::WithParamInterface<FailedCheck> {};

TEST_P(FailedCheckTest, EndsTheSyncAndTheUserIsToldOnce) {
    const std::string prefs = pod + "/iPod_Control/iTunes/iTunesPrefs";
    WriteBytes(prefs, GetParam().prefs);
    bool listed = false;
    const auto watcher = WatchActionList([&](SyncActionListDlg& list) {
        listed = true;
        list.reject();
    });
    WindowUnderTest test(home);
    ChooseTheSync(test);
    const std::vector<uint8_t> database = ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB");
    StartNow(test);
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }, std::chrono::milliseconds(20000)))
        << Log(test).toStdString();
    ASSERT_TRUE(test.WaitIdle());
    Drain();
    QStringList expected = GetParam().boxes;
    expected.replaceInStrings("{pod}", QString::fromStdString(pod));
    EXPECT_EQ(boxes, expected);
    for (QString box : expected)
        EXPECT_TRUE(Log(test).contains(box.replace("\r\n", "\n"))) << Log(test).toStdString();
    EXPECT_FALSE(listed);
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB"), database);
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    EXPECT_TRUE(test.Controls().chooser.isEnabled());
}

std::vector<uint8_t> AutomaticUpdatePrefs() {
    std::vector<uint8_t> prefs(64, 0);
    prefs[10] = 1;
    return prefs;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FailedCheckTest,
    testing::Values(FailedCheck{"UnreadablePreferences",
                                std::vector<uint8_t>(5, 0),
                                {"The iPod's preferences could not be read: {pod}/iPod_Control/iTunes/iTunesPrefs: "
                                 "End of file encountered."}},
                    FailedCheck{"AutomaticUpdate",
                                AutomaticUpdatePrefs(),
                                {"Selected iPod is set to Automatic Update.\r\nThe iPod must be set to "
                                 "\"Manual Update\" before performing a Sync."}}),
    [](const testing::TestParamInfo<FailedCheck>& info) { return std::string(info.param.name); });
