// The main window as a user meets it, offscreen, over a user of its own: the real music application
// with an empty library, fake iPods listed as volumes, a fake server program.

#include "app/CHalvendorApp.h"
#include "app/dialogs/ActionListDialog.h"
#include "app/dialogs/AddPlayListDlg.h"
#include "library/itunes/ITunes.h"
#include "app/state/SingleInstance.h"
#include "app/window/MainMenu.h"
#include "app/window/MainMessages.h"
#include "harness/AppTestHome.h"
#include "harness/FakeHelperProgram.h"
#include "harness/FakePod.h"
#include "harness/ModalAnswers.h"
#include "harness/RecordingShell.h"
#include "harness/SheetRun.h"
#include "harness/WindowUnderTest.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/settings/SettingsKey.h"
#include "platform/ui/PrivateMessage.h"
#include "library/songlists/ADir.h"
#include "remote/HostListFile.h"
#include "sync/ASync.h"
#include "sync/SyncOptions.h"
#include "sync/SyncSet.h"
#include "widgets/APropertySheet.h"
#include "widgets/ControlMessages.h"
#include "widgets/WaitDlg.h"
#include "widgets/WidgetTestSupport.h"

#include <QElapsedTimer>
#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <QMessageBox>
#include <QProcess>
#include <QSet>
#include <QTcpServer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>
#include <functional>
#include "harness/QtPrinting.h"

#include <gtest/gtest.h>

using nativeui::PrivateMessage;

namespace {

class MainWindowScenarioTest : public testing::Test {
protected:
    std::string Pod(const std::string& folder, const FakePodContent& content, bool mount = true) {
        const std::string root = home.Folder().File(folder);
        WriteFakePod(root, content);
        if (mount)
            home.MountVolume(root);
        return root;
    }
    // Answers every message box with `answer`, keeping their texts; closes every wait dialog.
    std::unique_ptr<ModalWatcher> AnswerBoxes(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        return std::make_unique<ModalWatcher>([this, answer](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                boxes.append(box->text());
                box->done(box->button(answer) ? answer : QMessageBox::Ok);
            } else if (auto* wait = dynamic_cast<WaitDlg*>(modal); wait && !seenWaits.contains(wait)) {
                seenWaits.insert(wait);
                waits.append(wait->message);
                wait->findChild<QPushButton*>(QStringLiteral("ctl_%1").arg(WaitDlg::kCancelId))->click();
            }
            return false;
        });
    }
    // Answers message boxes with OK, keeping their texts, and hands every other modal to `other`.
    std::unique_ptr<ModalWatcher> AnswerBoxesAnd(std::function<void(QWidget*)> other) {
        return ::AnswerBoxesAnd(answers, std::move(other));
    }
    // Answers message boxes with OK and refuses every action list, keeping the lists' titles.
    std::unique_ptr<ModalWatcher> AnswerBoxesAndRefuseLists(QStringList& titles) {
        return AnswerBoxesAnd([&titles](QWidget* modal) {
            if (auto* list = dynamic_cast<ActionListDialog*>(modal)) {
                titles.append(list->windowTitle());
                list->reject();
            }
        });
    }
    std::unique_ptr<nativesettings::SettingsKey> Key() const {
        return std::make_unique<nativesettings::SettingsKey>(QString::fromStdString(home.SettingsFile()));
    }

    AppTestHome home;
    ModalAnswers answers;
    QStringList& boxes = answers.boxes;
    QStringList waits;
    QSet<QWidget*> seenWaits;
};

TEST_F(MainWindowScenarioTest, ANewUserReachesIdleWithTheIPodListed) {
    Pod("pod", {u"My iPod", {u"Favourites", u"Last Sync", u"Road"}, 3, "MA002", false});
    WindowUnderTest test(home);
    test.Window().OnInitDialog();
    EXPECT_EQ(test.Window().BusyStatusText(), "Initializing Session...");
    EXPECT_FALSE(test.Controls().chooser.isEnabled());
    ASSERT_TRUE(test.WaitIdle());

    EXPECT_EQ(test.ChooserTexts(), QStringList({"My iPod", "AComboBox_SEPARATOR", "Connect to Remote"}));
    EXPECT_EQ(test.Window().Chooser().Selection(), 0);
    EXPECT_EQ(test.Window().Chooser().Selected()->ModelKey(), 260);
    EXPECT_EQ(test.ComboTexts(test.Controls().rightPlayLists),
              QStringList({"iPod Main Library", "Favourites", "Road", "New playlist..."}));
    EXPECT_FALSE(test.Controls().rightPlayLists.isEnabled());
    const QStringList left = test.ComboTexts(test.Controls().leftPlayLists);
    ASSERT_GE(left.size(), 2);
    EXPECT_EQ(left.first(), "Main Library");
    EXPECT_EQ(left.last(), "New playlist...");
    EXPECT_EQ(test.Controls().syncPicture.toolTip(), "Merge iTunes and iPod");
    EXPECT_EQ(test.Controls().leftInfo.GetText(),
              "All files in the iPod will be copied to iTunes. No files will be deleted on iTunes.");
    EXPECT_EQ(test.Controls().rightInfo.GetText(),
              "All files in iTunes will be copied to the iPod. No files will be deleted on the iPod.");
    EXPECT_EQ(test.Controls().localAddress.GetText(), "10.255.0.1");
    // Known by its own database, the iPod can be linked to the library.
    EXPECT_TRUE(test.Window().Menu().IsLinkShuffleShown());
}

// The iPod's set lives in a file named by the iPod's identifier: the window's end saves it, the next
// start shows it, and a damaged one is kept aside and replaced with a message.
TEST_F(MainWindowScenarioTest, TheChosenIPodsSyncSetIsSavedShownAgainAndReplacedWhenDamaged) {
    Pod("pod", {u"My iPod", {u"Road"}, 3, "", false});
    const auto watcher = AnswerBoxes();
    const auto runWindow = [&](const std::function<void(WindowUnderTest&)>& check) {
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        check(test);
        PrivateMessage::Post(&test.Window(), mainmsg::kWmClose);
        ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }));
    };
    runWindow([](WindowUnderTest&) {});
    std::vector<std::string> sets;
    for (const auto& entry : std::filesystem::directory_iterator(home.SyncSetsFolder())) {
        if (entry.path().extension() == ".sync" && entry.path().stem() != "00000000")
            sets.push_back(entry.path().string());
    }
    ASSERT_EQ(sets.size(), 1u);
    {
        SyncSet saved;
        ASSERT_EQ(saved.Load(AString::FromUtf8(sets[0])), 0);
        ASSERT_EQ(saved.GetSyncCount(), 1);
        EXPECT_EQ(saved.GetSync(0)->GetDirectory2().GetType(), ADir::kTypePodDB);
        saved.GetSync(0)->SetDirection(kDirection1To2);
        saved.GetSync(0)->SetDeleteMode(1);
        ASSERT_EQ(saved.Save(AString::FromUtf8(sets[0])), 0);
    }
    runWindow([](WindowUnderTest& test) {
        EXPECT_EQ(test.Controls().syncPicture.toolTip(), "Make iPod equal to iTunes");
        EXPECT_EQ(test.Window().Chooser().Selection(), 0);
    });
    EXPECT_TRUE(boxes.isEmpty());

    std::ofstream(sets[0], std::ios::trunc) << "damaged";
    runWindow([](WindowUnderTest& test) {
        EXPECT_EQ(test.Controls().syncPicture.toolTip(), "Merge iTunes and iPod");
    });
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("Error occured while reading Sync set for iPod \"My iPod\"")) << boxes[0].toStdString();
    EXPECT_EQ(ReadBytes(sets[0] + ".bad"), std::vector<uint8_t>({'d', 'a', 'm', 'a', 'g', 'e', 'd'}));
}

// Start Now runs the chosen device's set on a worker with the mode the picture shows: its action list
// is shown, and a refused list changes nothing and leaves the window idle again.
TEST_F(MainWindowScenarioTest, StartNowShowsTheActionsAndARefusedListChangesNothing) {
    const std::string pod = Pod("pod", {u"My iPod", {}, 3, "", true});
    // An iPod that belongs to no library and does not update itself.
    WriteBytes(pod + "/iPod_Control/iTunes/iTunesPrefs", std::vector<uint8_t>(64, 0));
    std::filesystem::create_directories(pod + "/iPod_Control/Music");
    const std::vector<uint8_t> database = ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB");
    QStringList lists;
    const auto watcher = AnswerBoxesAndRefuseLists(lists);
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(32794, 0));
    ASSERT_TRUE(SpinUntil([&] { return test.Controls().syncPicture.toolTip() == "Make iPod equal to iTunes"; }));

    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdStartNow, 0));
    ASSERT_TRUE(SpinUntil([&] { return !lists.isEmpty() || !boxes.isEmpty(); }))
        << test.Controls().log.toPlainText().toStdString();
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
    ASSERT_EQ(lists.size(), 1);
    EXPECT_TRUE(lists[0].startsWith("Sync Actions to Perform - 3 / 3")) << lists[0].toStdString();
    EXPECT_TRUE(SpinUntil([&] { return test.Controls().log.toPlainText().contains("User cancelled."); }));
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    EXPECT_TRUE(test.Controls().chooser.isEnabled());
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB"), database);
}

TEST_F(MainWindowScenarioTest, StartNowWithoutADeviceIsRefused) {
    const auto watcher = AnswerBoxes();
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdStartNow, 0));
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }));
    EXPECT_EQ(boxes, QStringList({"No iPod selected!"}));
    EXPECT_TRUE(test.IsIdle());
}

// "New playlist..." in the library's combo asks for a name, makes the playlist in the library and
// chooses it for the set; the name the program keeps for itself is refused in any letter case.
TEST_F(MainWindowScenarioTest, ANewLibraryPlayListIsMadeAndChosen) {
    Pod("pod", {u"My iPod", {}, 1, "", true});
    QStringList names = {"Road Trip", "last sync"};
    const auto watcher = AnswerBoxesAnd([&](QWidget* modal) {
        if (auto* ask = dynamic_cast<AddPlayListDlg*>(modal); ask && !names.isEmpty()) {
            ask->Edit().setText(names.takeFirst());
            ask->findChild<QPushButton*>(QStringLiteral("ctl_%1").arg(nativeui::kIdOk))->click();
        }
    });
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    SeparatorComboBox& left = test.Controls().leftPlayLists;
    const auto chooseNew = [&] {
        left.setCurrentIndex(left.count() - 1);
        emit left.activated(left.count() - 1);
    };
    chooseNew();
    ASSERT_TRUE(SpinUntil([&] { return left.currentText() == "Road Trip"; }));
    EXPECT_EQ(left.itemText(left.count() - 1), "New playlist...");
    ITunes library;
    ASSERT_EQ(library.LoadPlayLists(false), 0);
    ASSERT_EQ(library.GetPlayListCount(), 1);

    chooseNew();
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }));
    EXPECT_EQ(boxes, QStringList({"Cannot add Playlist by that name because\r\nit is used internally by Orvantis."}));
    EXPECT_EQ(left.currentText(), "Road Trip") << "the combo is back on the playlist chosen before";
    EXPECT_TRUE(SpinUntil([&] { return test.IsIdle(); }));
}

// An arriving iPod whose saved set runs by itself is chosen and counted down to its sync.
TEST_F(MainWindowScenarioTest, AnArrivingIPodWhoseSetRunsByItselfIsCountedDownToItsSync) {
    const std::string pod = Pod("pod", {u"My iPod", {}, 1, "", true});
    const auto watcher = AnswerBoxes();
    {
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        test.Window().close();
        ASSERT_TRUE(test.Window().IsEnded());
    }
    std::string setFile;
    for (const auto& entry : std::filesystem::directory_iterator(home.SyncSetsFolder())) {
        if (entry.path().extension() == ".sync" && entry.path().stem() != "00000000")
            setFile = entry.path().string();
    }
    ASSERT_FALSE(setFile.empty());
    {
        SyncSet saved;
        ASSERT_EQ(saved.Load(AString::FromUtf8(setFile)), 0);
        saved.GetSync(0)->SetAutoRunSync(1);
        ASSERT_EQ(saved.Save(AString::FromUtf8(setFile)), 0);
    }
    home.UnmountVolume(pod);
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    EXPECT_EQ(test.ChooserTexts(), QStringList({"Connect to Remote"}));
    home.MountVolume(pod);
    ASSERT_TRUE(SpinUntil([&] { return waits.contains("Preparing to Auto Run..."); }, std::chrono::milliseconds(20000)))
        << waits.join("|").toStdString();
    EXPECT_EQ(test.Window().Chooser().Selection(), 0);
    EXPECT_TRUE(SpinUntil([&] { return test.IsIdle(); }));
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now") << "the cancelled count-down runs nothing";
}

// "Sync Options..." edits the loaded set's first sync: what the sheet's OK takes is saved with the set.
TEST_F(MainWindowScenarioTest, TheSettingsSheetEditsTheLoadedSet) {
    Pod("pod", {u"My iPod", {}, 1, "", true});
    bool shown = false;
    const auto watcher = AnswerBoxesAnd([&](QWidget* modal) {
        auto* sheet = dynamic_cast<APropertySheet*>(modal);
        if (!sheet || shown)
            return;
        shown = true;
        QTimer::singleShot(0, sheet, [sheet] {
            UserShows(*sheet, 1);
            sheet->findChild<QAbstractButton*>(QStringLiteral("ctl_3006"))->click();
            ASSERT_TRUE(sheet->OnOK());
        });
    });
    {
        WindowUnderTest test(home);
        ASSERT_TRUE(test.StartAndWaitIdle());
        PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdSyncOptions, 0));
        ASSERT_TRUE(SpinUntil([&] { return shown && test.IsIdle(); }));
        test.Window().close();
        ASSERT_TRUE(test.Window().IsEnded());
    }
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
    int sets = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.SyncSetsFolder())) {
        if (entry.path().extension() != ".sync" || entry.path().stem() == "00000000")
            continue;
        SyncSet saved;
        ASSERT_EQ(saved.Load(AString::FromUtf8(entry.path().string())), 0);
        EXPECT_EQ(saved.GetSync(0)->GetAutoRunSync(), 1u);
        ++sets;
    }
    EXPECT_EQ(sets, 1);
}

// The help page and the library's HTML list open through the shell; the list is written on a worker
// like a tool, and the window is idle again afterwards.
TEST_F(MainWindowScenarioTest, TheHelpPageAndTheLibrarysHtmlListOpenThroughTheShell) {
    RecordingShell shell;
    WindowUnderTest test(home, {}, {.shell = &shell});
    ASSERT_TRUE(test.StartAndWaitIdle());
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdHelp, 0));
    ASSERT_TRUE(SpinUntil([&] { return !shell.pages.isEmpty() || !shell.paths.isEmpty(); }));
    const QStringList opened = shell.pages + shell.paths;
    EXPECT_TRUE(opened.first().endsWith("html/orvantis_help.htm")) << opened.first().toStdString();

    shell.pages.clear();
    shell.paths.clear();
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdLibraryHtmlList, 0));
    ASSERT_TRUE(SpinUntil([&] { return !shell.pages.isEmpty() || !shell.paths.isEmpty(); }));
    ASSERT_TRUE(test.WaitIdle());
    const QString page = (shell.pages + shell.paths).first();
    EXPECT_TRUE(page.endsWith("iTunes_List.html")) << page.toStdString();
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
}

// Song files dropped on the library's picture are offered in the add list; refused, nothing is added
// and the window is idle again. Dropped on the device's picture with no device chosen, they are refused.
TEST_F(MainWindowScenarioTest, DroppedSongFilesAreOfferedToTheLibraryAndNeedADeviceForTheIPod) {
    const std::string song = home.Folder().File("drop/song.mp3");
    std::filesystem::create_directories(home.Folder().File("drop"));
    std::filesystem::copy_file(std::string(ORVANTIS_FIXTURES) + "/tags/id3v1_only.mp3", song);
    QStringList lists;
    const auto watcher = AnswerBoxesAndRefuseLists(lists);
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    const auto drop = [&](ABitmap& picture) {
        PrivateMessage::Post(&test.Window(), controlmsg::kWmAddDroppedFiles, 0,
                             reinterpret_cast<intptr_t>(static_cast<SkinnedControl*>(&picture)),
                             PrivateMessage::MakePayload(std::vector<AString>{AString::FromUtf8(song)}));
    };
    drop(test.Controls().devicePicture);
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }));
    EXPECT_EQ(boxes, QStringList({"No iPod Connected!"}));

    drop(test.Controls().libraryPicture);
    ASSERT_TRUE(SpinUntil([&] { return !lists.isEmpty(); })) << test.Controls().log.toPlainText().toStdString();
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    ITunes library;
    ASSERT_EQ(library.Connect(), 0);
    EXPECT_EQ(library.GetSongCount(), 0);
}

// A library tool runs on the worker like a sync; a tool of the iPod needs a chosen device.
TEST_F(MainWindowScenarioTest, ALibraryToolRunsOnTheWorkerAndAnIPodToolNeedsADevice) {
    const auto watcher = AnswerBoxes();
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(32838, 0));
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }));
    EXPECT_EQ(boxes, QStringList({"No iPod Connected!"}));

    boxes.clear();
    PrivateMessage::Post(&test.Window(), nativeui::kWmCommand, nativeui::MakeWParam(32837, 0));
    ASSERT_TRUE(SpinUntil([&] { return test.Controls().log.toPlainText().contains("Loading iTunes Master List"); }));
    ASSERT_TRUE(test.WaitIdle());
    // An empty library has no duplicates: the tool itself ran and said so.
    EXPECT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); })) << test.Controls().log.toPlainText().toStdString();
    EXPECT_EQ(boxes, QStringList({"No Duplicates Detected!"}));
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
}

TEST_F(MainWindowScenarioTest, TwoIPodsNamedAlikeStopTheProgram) {
    Pod("a", {u"Music", {}, 1, "", false});
    Pod("b", {u"music", {}, 1, "", false});
    const auto watcher = AnswerBoxes();
    WindowUnderTest test(home);
    test.Window().OnInitDialog();
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }, std::chrono::milliseconds(20000)));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("More than 1 iPod with the name \"Music\" was found."));
}

TEST_F(MainWindowScenarioTest, AnIPodArrivingAndLeavingReloadsTheDevices) {
    const auto watcher = AnswerBoxes();
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    EXPECT_EQ(test.ChooserTexts(), QStringList({"Connect to Remote"}));
    EXPECT_EQ(test.Window().Chooser().Selection(), -1);

    const std::string pod = Pod("arrived", {u"Traveller", {}, 2, "", true});
    ASSERT_TRUE(SpinUntil([&] { return test.ChooserTexts().contains("Traveller") && test.IsIdle(); },
                          std::chrono::milliseconds(20000)));
    // The music application's stand-in shows the iPod at once: nothing waits for its confirmation.
    EXPECT_TRUE(waits.isEmpty()) << waits.join("|").toStdString();
    // The arriving iPod was prepared for syncing.
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesPrefs")[31], 1);

    home.UnmountVolume(pod);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().BusyStatusText() == "Please wait..."; }));
    QElapsedTimer sinceRemoval;
    sinceRemoval.start();
    ASSERT_TRUE(SpinUntil([&] { return !test.ChooserTexts().contains("Traveller") && test.IsIdle(); },
                          std::chrono::milliseconds(20000)));
    EXPECT_GE(sinceRemoval.elapsed(), 900);
    EXPECT_EQ(test.ChooserTexts(), QStringList({"Connect to Remote"}));
}

TEST_F(MainWindowScenarioTest, AHostTheServerProgramFoundIsChosenWhenNoDeviceIs) {
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    test.AnnounceHost({"studio", "127.0.0.2", 0}, 77);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsRemoteInUse() && test.IsIdle(); },
                          std::chrono::milliseconds(20000)));
    EXPECT_EQ(test.ChooserTexts(),
              QStringList({"iTunes on studio", "AComboBox_SEPARATOR", "Connect to Remote"}));
    EXPECT_EQ(test.Window().Chooser().Selection(), 0);
    EXPECT_EQ(test.Controls().syncPicture.toolTip(), "Merge iTunes and Remote");
    EXPECT_EQ(test.ComboTexts(test.Controls().rightPlayLists), QStringList({"Main Library", "New playlist..."}));
    EXPECT_FALSE(std::filesystem::exists(home.SyncSetsFolder() + "/77.hosts"));

    // The host is remembered for the next run.
    test.Window().close();
    ASSERT_TRUE(test.Window().IsEnded());
    EXPECT_EQ(Key()->ReadString("LAST_IPOD"), "studio");
    EXPECT_EQ(Key()->ReadDword("Last_Sync_IS_Remote"), 1u);
    EXPECT_EQ(HostListFile::Read(AString(home.SyncSetsFolder() + "/FoundHost.hosts")).size(), 1u);
}

TEST_F(MainWindowScenarioTest, TheServerProgramIsAskedForItsHostsAtStart) {
    FakeHelperProgram helper(nativeipc::PeerAddress(QString::fromStdString(home.RuntimeFolder())),
                             {{"den", "127.0.0.3", 0}});
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    EXPECT_TRUE(helper.Received(nativeipc::peermessage::kHostListReady));
    // The list it wrote was read and removed.
    EXPECT_TRUE(std::filesystem::is_empty(home.SyncSetsFolder()));
}

TEST_F(MainWindowScenarioTest, TheLogPaneGrowsInStepsAndIsRemembered) {
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    const int hidden = test.Window().height();
    std::vector<int> heights;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { heights.push_back(test.Window().height()); });
    sampler.start(1);
    QTest::mouseClick(&test.Controls().logButton, Qt::LeftButton);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().height() == MainWindowControls::kFullHeight; }));
    sampler.stop();
    for (int height : heights)
        EXPECT_EQ((height - hidden) % 15 == 0 || height == MainWindowControls::kFullHeight, true) << height;
    EXPECT_TRUE(test.Window().IsLogShown());
    test.Window().close();
    EXPECT_EQ(Key()->ReadDword("LOG_WINDOW"), 1u);
}

TEST_F(MainWindowScenarioTest, EscapeNeverClosesEnterHidesAndCaptionButtonsAct) {
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    CHalvendorDlg& window = test.Window();
    QTest::keyClick(&window, Qt::Key_Escape);
    Drain();
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    window.showNormal();

    const auto press = [&](int button) {
        const QPoint at = window.CaptionButtonRect(button).center();
        QTest::mousePress(&window, Qt::LeftButton, {}, at);
        EXPECT_EQ(window.CaptionButtonState(button) & MainWindowFrame::kPressedBit, MainWindowFrame::kPressedBit);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, at);
        Drain();
    };
    EXPECT_EQ(window.CaptionButtonRect(MainWindowFrame::kCloseButton),
              QRect(window.width() - 18, 3, 16, 16));
    press(MainWindowFrame::kIdleButton);
    EXPECT_FALSE(window.IsEnded());
    EXPECT_FALSE(window.isMinimized());
    press(MainWindowFrame::kCloseButton);
    EXPECT_TRUE(window.IsEnded());
}

TEST_F(MainWindowScenarioTest, TheAboutBoxShowsItsPage) {
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    QString page;
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* browser = modal->findChild<QTextBrowser*>()) {
            page = browser->toPlainText();
            modal->findChild<QPushButton*>(QStringLiteral("ctl_1"))->click();
            return true;
        }
        return false;
    });
    // The system command with low bits set opens it too.
    PrivateMessage::Post(&test.Window(), mainmsg::kWmSysCommand, mainmsg::kScAbout | 0x3);
    ASSERT_TRUE(SpinUntil([&] { return !page.isEmpty(); }));
    EXPECT_TRUE(page.contains("Orvantis"));
}

TEST_F(MainWindowScenarioTest, ALibraryThatDoesNotAnswerIsAskedAboutAndTheProgramCloses) {
    itunesapp::ITunesInstance::Running().SetBusy(true);
    int asked = 0;
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
            boxes.append(box->text());
            box->done(++asked < 2 ? QMessageBox::Retry : QMessageBox::Cancel);
        }
        return false;
    });
    WindowUnderTest test(home);
    test.Window().OnInitDialog();
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }, std::chrono::milliseconds(20000)));
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].startsWith("There was a problem communicating with iTunes."));
    itunesapp::ITunesInstance::Running().SetBusy(false);
}

TEST_F(MainWindowScenarioTest, ALibraryFileThatCannotBeReadIsNamedInTheQuestion) {
    const std::string file = home.Folder().File("XDG_MUSIC_DIR/iTunes/iTunes Music Library.xml");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file) << "<plist><dict><key>Tracks</key>";
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
            boxes.append(box->text());
            box->done(QMessageBox::Cancel);
        }
        return false;
    });
    WindowUnderTest test(home);
    test.Window().OnInitDialog();
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }, std::chrono::milliseconds(20000)));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith("The iTunes library file cannot be read:\n" + QString::fromStdString(file) + ": "))
        << boxes[0].toStdString();
}

// The program itself started a second time: it shows the running window, hands it the router
// configuration it was given, and ends without a window of its own.
TEST_F(MainWindowScenarioTest, ASecondStartShowsTheRunningWindowAndEnds) {
    WindowUnderTest test(home);
    SingleInstance instance(test.Peers());
    ASSERT_EQ(instance.Claim(), SingleInstance::Start::First);
    instance.Endpoint().SetHandler([&](const nativeipc::PeerMessage& message) {
        return CHalvendorApp::HandlePeerMessage(test.Window(), message);
    });
    ASSERT_TRUE(test.StartAndWaitIdle());
    QTest::keyClick(&test.Window(), Qt::Key_Return);
    ASSERT_FALSE(test.Window().isVisible());
    const auto watcher = AnswerBoxes();

    const QString config = QString::fromStdString(home.Folder().File("My Configs/Home.TXFIG"));
    QProcess second;
    second.start(QStringLiteral(ORVANTIS_PROGRAM), {config});
    ASSERT_TRUE(SpinUntil([&] { return second.state() == QProcess::NotRunning; }, std::chrono::milliseconds(20000)));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(test.Window().isVisible());
    const nativeini::PrivateProfile startup(home.DataFolder() + "/startuptxfig");
    EXPECT_EQ(startup.ReadString("Startup", "file", ""), config.toStdString());
    // The running program loads that configuration: it names no computer it can reach.
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }));
    EXPECT_TRUE(boxes[0].startsWith("Could not connect with remote host"));
}

} // namespace

namespace {

class RouterConfigTest : public MainWindowScenarioTest {
protected:
    // A router configuration naming a computer, and the start-up file pointing at it.
    void WriteConfig(const std::string& address, const std::string& port) {
        const std::string config = home.Folder().File("home.txfig");
        nativeini::PrivateProfile file(config);
        file.WriteString("Stat", "CompName", std::string(200, 'c'));
        file.WriteString("Stat", "ExtIP", address);
        file.WriteString("Stat", "ExtPort", port);
        std::filesystem::create_directories(home.DataFolder());
        nativeini::PrivateProfile(home.DataFolder() + "/startuptxfig").WriteString("Startup", "file", config);
    }
};

TEST_F(RouterConfigTest, APortOutsideItsRangeIsAConnectionFailure) {
    const auto watcher = AnswerBoxes();
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    for (const char* port : {"0", "70000"}) {
        boxes.clear();
        WriteConfig("127.0.0.2", port);
        PrivateMessage::Post(&test.Window(), mainmsg::kWmStartupConfig);
        ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); })) << port;
        EXPECT_TRUE(boxes[0].startsWith("Could not connect with remote host")) << port;
    }
    EXPECT_EQ(test.Sockets().FoundHosts().Count(), 0);
}

TEST_F(RouterConfigTest, AComputerThatAnswersJoinsTheChooser) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    WriteConfig("127.0.0.2", std::to_string(server.serverPort()));
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    PrivateMessage::Post(&test.Window(), mainmsg::kWmStartupConfig);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsRemoteInUse() && test.IsIdle(); },
                          std::chrono::milliseconds(20000)));
    ASSERT_EQ(test.Sockets().FoundHosts().Count(), 1);
    // The computer's name is cut to what a found host's name holds.
    EXPECT_EQ(test.Sockets().FoundHosts().GetName(0), std::string(FoundHost::kMaxNameLength, 'c'));
    EXPECT_EQ(test.Window().Chooser().Selection(), 0);
}

} // namespace
