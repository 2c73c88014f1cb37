// Which menu items the main window offers in each of its states, as opening a menu shows them: idle
// with or without a device, the kind of device chosen, a run holding the busy lock, and the services
// that some items need. While a run holds the lock, the commands that start work are refused.

#include "app/dialogs/ActionListDialog.h"
#include "app/dialogs/AddPlayListDlg.h"
#include "app/network/UpdateChecker.h"
#include "app/window/MainMenu.h"
#include "app/window/MainMessages.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/QtPrinting.h"
#include "harness/RecordingShell.h"
#include "harness/WindowUnderTest.h"
#include "library/songlists/TestSongFiles.h"
#include "platform/ui/PrivateMessage.h"
#include "widgets/ControlMessages.h"
#include "widgets/WidgetTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

using nativeui::PrivateMessage;

namespace {

// The menu's commands by the rule that enables them.
constexpr int kStartNow = mainmsg::kCmdStartNow;
constexpr int kCancel = mainmsg::kCmdCancelSync;
constexpr int kSyncOptions = mainmsg::kCmdSyncOptions;
constexpr int kNewTunesPlayList = mainmsg::kCmdNewTunesPlayList;
constexpr int kNewPodPlayList = mainmsg::kCmdNewPodPlayList;
constexpr int kLinkShuffle = mainmsg::kCmdLinkShuffle;
constexpr int kAddToITunes = mainmsg::kCmdAddFilesToLibrary;
constexpr int kAddToIPod = mainmsg::kCmdAddFilesToPod;
constexpr int kDuplicatesFromITunes = 32837;
constexpr int kDuplicatesFromIPod = 32838;
constexpr int kOrphansFromIPod = 32829;
constexpr int kAlbumArt = 32848;
constexpr int kMergeType = 32779;
constexpr int kCopyToIPodType = 32792;
constexpr int kSaveRouterConfig = mainmsg::kCmdSaveRouterConfig;
constexpr int kExit = mainmsg::kIdCancel;
constexpr int kAbout = mainmsg::kCmdAbout;
constexpr int kHelp = mainmsg::kCmdHelp;
constexpr int kReportBug = mainmsg::kCmdReportBug;
constexpr int kCheckForUpdates = mainmsg::kCmdCheckForUpdates;

// An item and whether it is enabled; a sync type also says whether it carries the check mark.
struct Offer {
    int id;
    bool enabled;
    std::optional<bool> checked = std::nullopt;
};

// The items as opening the menus leaves them, as "id on|off [checked]" lines.
QStringList Shown(MainMenu& menu, const std::vector<Offer>& offers) {
    menu.UpdateStates();
    QStringList lines;
    for (const Offer& offer : offers) {
        const QAction* action = menu.Action(offer.id);
        if (!action) {
            lines << QStringLiteral("%1 absent").arg(offer.id);
            continue;
        }
        QString line = QStringLiteral("%1 %2").arg(offer.id).arg(action->isEnabled() ? "on" : "off");
        if (offer.checked)
            line += action->isChecked() ? " checked" : " unchecked";
        lines << line;
    }
    return lines;
}

QStringList Expected(const std::vector<Offer>& offers) {
    QStringList lines;
    for (const Offer& offer : offers) {
        QString line = QStringLiteral("%1 %2").arg(offer.id).arg(offer.enabled ? "on" : "off");
        if (offer.checked)
            line += *offer.checked ? " checked" : " unchecked";
        lines << line;
    }
    return lines;
}

class CommandEnablingTest : public testing::Test {
protected:
    void MountPod() {
        const std::string root = home.Folder().File("pod");
        WriteFakePod(root, {u"My iPod", {u"Road"}, 1, "", false});
        home.MountVolume(root);
    }
    void Post(WindowUnderTest& test, int command) {
        PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(command, 0));
    }

    AppTestHome home;
};

} // namespace

// Idle, the items that work on the device follow the choice of one and its kind; the picture's setting
// is checked. (The stand-in library drives no iPod, so every iPod is known by its own database.)
TEST_F(CommandEnablingTest, IdleTheDeviceItemsFollowTheChosenDevice) {
    struct Case {
        const char* state;
        bool pod;
        std::vector<Offer> offers;
    };
    const std::vector<Case> cases = {
        {"no device",
         false,
         {{kStartNow, false},
          {kDuplicatesFromIPod, false},
          {kOrphansFromIPod, false},
          {kAddToIPod, false},
          {kNewPodPlayList, false},
          {kDuplicatesFromITunes, true},
          {kAlbumArt, true},
          {kAddToITunes, true},
          {kNewTunesPlayList, true},
          {kSyncOptions, true},
          {kCancel, false},
          {kMergeType, true, true},
          {kCopyToIPodType, true, false},
          {kSaveRouterConfig, true},
          {kExit, true},
          {kAbout, true}}},
        // Known by its own database, the iPod takes no playlists but can be linked to the library.
        {"an iPod database",
         true,
         {{kStartNow, true},
          {kDuplicatesFromIPod, true},
          {kOrphansFromIPod, true},
          {kAddToIPod, true},
          {kNewPodPlayList, false},
          {kLinkShuffle, true},
          {kDuplicatesFromITunes, true},
          {kCancel, false},
          {kMergeType, true, true}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.state);
        if (row.pod)
            MountPod();
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        const ChooserEntry* chosen = test.Window().Chooser().Selected();
        ASSERT_EQ(chosen != nullptr, row.pod);
        ASSERT_TRUE(!chosen || chosen->kind == ChooserKind::PodDatabase);
        EXPECT_EQ(Shown(test.Window().Menu(), row.offers), Expected(row.offers));
        EXPECT_EQ(test.Window().Menu().IsLinkShuffleShown(), row.pod);
    }
}

// The help pages need the shell and "Check for Updates" the update check; without them they are greyed.
TEST_F(CommandEnablingTest, HelpAndUpdatesNeedTheirServices) {
    RecordingShell shell;
    UpdateChecker updates(QStringLiteral("http://127.0.0.1:9"), UpdateChecker::PrivateFolder(),
                          UpdateChecker::kOwnVersion, {});
    const std::vector<Offer> without = {{kHelp, false}, {kReportBug, false}, {kCheckForUpdates, false}};
    const std::vector<Offer> with = {{kHelp, true}, {kReportBug, true}, {kCheckForUpdates, true}};
    {
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        EXPECT_EQ(Shown(test.Window().Menu(), without), Expected(without));
    }
    WindowUnderTest test(home, {}, {.updates = &updates, .shell = &shell});
    ASSERT_TRUE(test.StartAndWaitIdle());
    EXPECT_EQ(Shown(test.Window().Menu(), with), Expected(with));
}

// While a run waits for its list, only "Cancel" and the items that take no lock are offered, and a
// command that starts work is refused with the window's plea to wait, changing nothing.
TEST_F(CommandEnablingTest, ARunHoldingTheBusyLockOffersCancelAndRefusesWork) {
    MountPod();
    const std::string song = home.Folder().File("drop/song.mp3");
    WriteSongFile(song, MakeMp3(SongTags("Pop", "Abba", "Gold", "Fernando")));
    const std::vector<Offer> busy = {
        {kStartNow, false},    {kDuplicatesFromIPod, false}, {kDuplicatesFromITunes, false},
        {kAddToITunes, false}, {kNewTunesPlayList, false},   {kNewPodPlayList, false},
        {kSyncOptions, false}, {kMergeType, false, true},    {kCancel, true},
        {kLinkShuffle, false}, {kSaveRouterConfig, true},    {kExit, true},
        {kAbout, true}};
    // Commands that start work; each is answered with the plea to wait.
    const std::vector<int> refused = {kDuplicatesFromITunes,
                                      kDuplicatesFromIPod,
                                      kCopyToIPodType,
                                      kNewTunesPlayList,
                                      kNewPodPlayList,
                                      kSyncOptions,
                                      mainmsg::kCmdSelectPlayLists,
                                      kAddToITunes,
                                      kLinkShuffle};

    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    const QString type = test.Controls().syncPicture.toolTip();
    QStringList shownWhileBusy;
    QStringList boxes;
    bool listShown = false;
    const ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
            boxes << box->text();
            box->done(QMessageBox::Ok);
        } else if (auto* shown = dynamic_cast<ActionListDialog*>(modal); shown && !listShown) {
            listShown = true;
            shownWhileBusy = Shown(test.Window().Menu(), busy);
            for (const int command : refused)
                Post(test, command);
        } else if (shown && boxes.size() >= static_cast<qsizetype>(refused.size())) {
            shown->reject();
        }
        return false;
    });
    PrivateMessage::Post(
        &test.Window(), controlmsg::kWmAddDroppedFiles, 0,
        reinterpret_cast<intptr_t>(static_cast<SkinnedControl*>(&test.Controls().libraryPicture)),
        PrivateMessage::MakePayload(std::vector<AString>{AString::FromUtf8(song)}));
    ASSERT_TRUE(SpinUntil([&] { return listShown; }));
    ASSERT_TRUE(test.WaitIdle());

    EXPECT_EQ(shownWhileBusy, Expected(busy));
    EXPECT_EQ(boxes, QStringList(static_cast<qsizetype>(refused.size()), CHalvendorDlg::kPleaseWait));
    EXPECT_EQ(test.Controls().syncPicture.toolTip(), type);
    const std::vector<Offer> idle = {{kCancel, false}, {kStartNow, true}, {kDuplicatesFromIPod, true}};
    EXPECT_EQ(Shown(test.Window().Menu(), idle), Expected(idle));
}

// Commands refused before they start work, by the device they need: the answer, and nothing done.
TEST_F(CommandEnablingTest, CommandsThatNeedADeviceSayWhatIsMissing) {
    struct Case {
        bool pod;
        int command;
        QStringList boxes;
    };
    const std::vector<Case> cases = {
        {false, kAddToIPod, {"No iPod Connected!"}},
        {false, kLinkShuffle, {"No iPod Connected!"}},
        {false, mainmsg::kCmdSelectPlayLists, {"No iPod selected!"}},
        {false, kNewPodPlayList, {}},
        // The rows with an iPod come last, as it stays mounted. The name is asked first; an iPod known by
        // its database takes no playlist.
        {true, kNewPodPlayList, {"Could not add Playlist to this iPod!"}},
    };
    QStringList boxes;
    int namesAsked = 0;
    const ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
            boxes << box->text();
            box->done(QMessageBox::Ok);
        } else if (auto* ask = dynamic_cast<AddPlayListDlg*>(modal)) {
            ++namesAsked;
            ask->Edit().setText(QStringLiteral("Road Trip"));
            ask->findChild<QPushButton*>(QStringLiteral("ctl_%1").arg(nativeui::kIdOk))->click();
        }
        return false;
    });
    for (const Case& row : cases) {
        SCOPED_TRACE(row.command);
        if (row.pod)
            MountPod();
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        boxes.clear();
        namesAsked = 0;
        // The command runs on the GUI thread and ends before the posted events are all taken.
        Post(test, row.command);
        QCoreApplication::sendPostedEvents(&test.Window());
        EXPECT_EQ(boxes, row.boxes);
        EXPECT_EQ(namesAsked, row.pod ? 1 : 0);
        EXPECT_TRUE(test.IsIdle());
    }
}
