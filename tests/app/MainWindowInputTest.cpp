// The main window used by hand, offscreen: clicks and keys at the places where the window paints its
// controls (menu titles, menu entries, buttons, tabs), with the real music application, real song
// files, iPods as volumes that come and go, and Qt's own file dialog.

#include "app/dialogs/ActionListView.h"
#include "app/dialogs/DuplicatesListModel.h"
#include "app/dialogs/SyncActionListDlg.h"
#include "app/dialogs/ToolActionListDlg.h"
#include "app/dialogs/ToolDupsActionList.h"
#include "app/dialogs/ToolDupsActionListDlg.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/LibrarySongs.h"
#include "harness/ModalAnswers.h"
#include "harness/QtPrinting.h"
#include "harness/UserClicks.h"
#include "harness/WindowUnderTest.h"
#include "library/songlists/TestSongFiles.h"
#include "widgets/AFileDialog.h"
#include "widgets/APropertySheet.h"
#include "widgets/FileChooser.h"
#include "widgets/PropertyPageTabs.h"
#include "widgets/WidgetTestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

namespace fs = std::filesystem;

namespace {

// How soon a volume that comes or goes is shown in the chooser.
constexpr std::chrono::milliseconds kVolumeShown{2000};

class MainWindowInputTest : public testing::Test {
protected:
    std::string Pod(const std::string& root, const FakePodContent& content) {
        WriteFakePod(root, content);
        // An iPod that belongs to no library and does not update itself.
        WriteBytes(root + "/iPod_Control/iTunes/iTunesPrefs", std::vector<uint8_t>(64, 0));
        fs::create_directories(root + "/iPod_Control/Music");
        return root;
    }
    std::unique_ptr<ModalWatcher> AnswerBoxesAnd(std::function<void(QWidget*)> other) {
        return ::AnswerBoxesAnd(answers, std::move(other));
    }
    // A song file made by an outside tagging tool, copied to `path`.
    std::string RealSong(const std::string& fixture, const std::string& path) {
        fs::create_directories(fs::path(path).parent_path());
        fs::copy_file(std::string(ORVANTIS_FIXTURES) + "/tags/" + fixture, path);
        return path;
    }

    AppTestHome home;
    ModalAnswers answers;
    QStringList& boxes = answers.boxes;
};

// The center colour of the start button as the window shows it.
QColor StartButtonColour(WindowUnderTest& test) {
    const QImage image = test.Controls().startButton.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 4);
}

constexpr int kHueMargin = 48;

bool IsRed(const QColor& colour) {
    return colour.red() > colour.green() + kHueMargin && colour.red() > colour.blue() + kHueMargin;
}

bool IsGreen(const QColor& colour) {
    return colour.green() > colour.red() + kHueMargin && colour.green() > colour.blue() + kHueMargin;
}

} // namespace

// Each title opens its own menu by a click where it is painted (the last one, "Help", drawn in the
// widened place that reaches the window's edge, too) and by Alt and its first letter.
TEST_F(MainWindowInputTest, EveryMenuTitleOpensItsMenuWhereItIsPainted) {
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    AMenu& bar = test.Controls().menu;
    const QStringList titles = {"File", "Sync", "Tools", "Help"};
    const std::vector<QRect> painted = PaintedTitles(bar);
    ASSERT_EQ(painted.size(), static_cast<size_t>(titles.size()));
    for (qsizetype i = 0; i < titles.size(); ++i) {
        ClickAt(bar, painted[static_cast<size_t>(i)].center());
        QMenu* opened = OpenMenu();
        ASSERT_TRUE(opened) << "no menu opened where " << titles[i].toStdString() << " is painted";
        EXPECT_EQ(ShownTitle(*opened), titles[i]);
        CloseMenus();
    }
    for (const QString& title : titles) {
        ASSERT_TRUE(Activate(test.Window()));
        QTest::keyClick(&test.Window(), title.front().toLatin1(), Qt::AltModifier);
        QMenu* opened = OpenMenu();
        ASSERT_TRUE(opened) << "Alt+" << title.front().toLatin1() << " opened nothing";
        EXPECT_EQ(ShownTitle(*opened), title);
        CloseMenus();
    }
}

// While a sync runs the start button is "Cancel": its picture, caption and tooltip; after the run it
// is "Start Now" again.
TEST_F(MainWindowInputTest, TheStartButtonIsCancelWhileTheSyncRuns) {
    Pod(home.Folder().File("pod"), {u"My iPod", {}, 3, "", false});
    home.MountVolume(home.Folder().File("pod"));
    struct Look {
        QString caption;
        QString tooltip;
        QColor colour;
    };
    std::optional<Look> running;
    WindowUnderTest* window = nullptr;
    const auto watcher = AnswerBoxesAnd([&](QWidget* modal) {
        auto* list = dynamic_cast<SyncActionListDlg*>(modal);
        if (!list || running)
            return;
        running = Look{window->Controls().startCaption.GetText(), window->Controls().startButton.toolTip(),
                       StartButtonColour(*window)};
        list->ButtonById(ActionListDialog::kCancelButton)->click();
    });
    WindowUnderTest test(home);
    window = &test;
    ASSERT_TRUE(test.StartAndWaitIdle());
    EXPECT_EQ(test.Controls().startButton.toolTip(), "Perform sync");
    EXPECT_TRUE(IsGreen(StartButtonColour(test))) << StartButtonColour(test).name().toStdString();

    ClickAt(test.Controls().startButton, test.Controls().startButton.rect().center());
    ASSERT_TRUE(SpinUntil([&] { return running.has_value() || !boxes.isEmpty(); }, std::chrono::milliseconds(20000)))
        << test.Controls().log.toPlainText().toStdString();
    ASSERT_TRUE(running) << boxes.join("|").toStdString();
    EXPECT_EQ(running->caption, "Cancel");
    EXPECT_EQ(running->tooltip, "Cancel");
    EXPECT_TRUE(IsRed(running->colour)) << running->colour.name().toStdString();

    ASSERT_TRUE(test.WaitIdle());
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    EXPECT_EQ(test.Controls().startButton.toolTip(), "Perform sync");
    EXPECT_TRUE(IsGreen(StartButtonColour(test))) << StartButtonColour(test).name().toStdString();
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
}

namespace {

// Qt's own file dialog in place of the desktop's, as a user sees it.
class QtDialogs {
public:
    QtDialogs() { AFileDialog::SetChooser(&m_chooser); }
    ~QtDialogs() { AFileDialog::SetChooser(nullptr); }

private:
    QtFileChooser m_chooser{false};
};

// Pastes into the file dialog's name field and presses Enter.
void PasteIntoFileDialog(QFileDialog& dialog, const QString& text) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(name);
    name->setText(text);
    QTest::keyClick(name, Qt::Key_Return);
}

} // namespace

// "Add Song File(s)" / "To iTunes" chosen in the menus: the file dialog opens in the library's music
// folder, the songs chosen there are offered in the add list, each row naming its file, and the
// next time the dialog opens where the songs were chosen.
TEST_F(MainWindowInputTest, AddingSongFilesOffersEachChosenFileByName) {
    const std::string musicFolder = home.Folder().File("XDG_MUSIC_DIR/iTunes/iTunes Music");
    fs::create_directories(musicFolder);
    const std::string incoming = home.Folder().File("incoming");
    const std::vector<std::string> files = {RealSong("v24_mutagen.mp3", incoming + "/first.mp3"),
                                            RealSong("v23_eyed3_extended.mp3", incoming + "/second.mp3")};
    const QtDialogs qtDialogs;
    QStringList openedIn;
    QStringList songs;
    const auto watcher = AnswerBoxesAnd([&](QWidget* modal) {
        if (auto* dialog = dynamic_cast<QFileDialog*>(modal); dialog && openedIn.size() < 2) {
            openedIn.append(dialog->directory().absolutePath());
            if (openedIn.size() == 2) {
                dialog->reject();
                return;
            }
            PasteIntoFileDialog(*dialog, QStringLiteral("\"%1\" \"%2\"").arg(QString::fromStdString(files[0]),
                                                                               QString::fromStdString(files[1])));
        } else if (auto* list = dynamic_cast<ToolActionListDlg*>(modal); list && songs.isEmpty()) {
            const QAbstractItemModel& model = *list->View().model();
            for (int row = 0; row < model.rowCount(); ++row)
                songs.append(model.index(row, 2).data().toString());
            list->ButtonById(ActionListDialog::kCancelButton)->click();
        }
    });
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    const auto addToLibrary = [&] {
        QMenu* tools = OpenMenuByTitle(test.Controls().menu, "Tools");
        ASSERT_TRUE(tools);
        QMenu* add = ClickMenuEntry(*tools, "Add Song File(s)");
        ASSERT_TRUE(add);
        ClickMenuEntry(*add, "To iTunes");
    };
    addToLibrary();
    ASSERT_TRUE(SpinUntil([&] { return !songs.isEmpty() || !boxes.isEmpty(); }, std::chrono::milliseconds(20000)))
        << test.Controls().log.toPlainText().toStdString();
    ASSERT_TRUE(test.WaitIdle());
    ASSERT_EQ(openedIn.size(), 1);
    EXPECT_EQ(openedIn[0], QString::fromStdString(musicFolder));
    songs.sort();
    EXPECT_EQ(songs, QStringList({QString::fromStdString(files[0]), QString::fromStdString(files[1])}));

    addToLibrary();
    ASSERT_TRUE(SpinUntil([&] { return openedIn.size() == 2; }));
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_EQ(openedIn[1], QString::fromStdString(incoming));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
}

namespace {

// The sheet's own tabs, and each tab's place on its bar.
bool EveryTabShowsWhole(const QTabWidget& tabs) {
    const QTabBar& bar = *tabs.tabBar();
    for (const QToolButton* scroll : bar.findChildren<QToolButton*>()) {
        if (scroll->isVisible())
            return false;
    }
    for (int i = 0; i < bar.count(); ++i) {
        if (!bar.rect().contains(bar.tabRect(i)) || !tabs.rect().contains(bar.geometry()))
            return false;
    }
    return true;
}

} // namespace

// "Sync Options..." opens the sheet with every tab in sight; "Filtering" opens by a click on its tab,
// and its own six tabs show whole too.
TEST_F(MainWindowInputTest, EveryTabOfTheSettingsSheetShowsAndOpensByAClick) {
    std::vector<std::string> seen;
    const auto watcher = AnswerBoxesAnd([&](QWidget* modal) {
        auto* sheet = dynamic_cast<APropertySheet*>(modal);
        if (!sheet || !seen.empty())
            return;
        auto* tabs = sheet->findChild<PropertyPageTabs*>(QString(), Qt::FindDirectChildrenOnly);
        seen.push_back(EveryTabShowsWhole(*tabs) ? "sheet whole" : "sheet cut");
        const int filtering = 4;
        ClickAt(*tabs->tabBar(), tabs->tabBar()->tabRect(filtering).center());
        seen.push_back(tabs->tabText(tabs->currentIndex()).toStdString());
        auto* children = tabs->currentWidget()->findChild<PropertyPageTabs*>();
        seen.push_back(children && children->count() == 6 && EveryTabShowsWhole(*children) ? "filters whole"
                                                                                            : "filters cut");
        sheet->findChild<QPushButton*>(QStringLiteral("ctl_2"))->click();
    });
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    ClickAt(test.Controls().syncOptions, test.Controls().syncOptions.rect().center());
    ASSERT_TRUE(SpinUntil([&] { return !seen.empty() || !boxes.isEmpty(); }));
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_EQ(seen, std::vector<std::string>({"sheet whole", "Filtering", "filters whole"}));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join("|").toStdString();
}

// "Remove Duplicates" / "From iTunes": the list opens with every fixed column as wide as its header
// and its cells, and the song and file columns too as far as the screen leaves room.
TEST_F(MainWindowInputTest, TheDuplicatesListOpensWithItsColumnsFittingTheirTexts) {
    for (const char* name : {"a", "b"})
        AddLibrarySong(home.Folder().File(std::string("songs/") + name + "/Waterloo.mp3"),
                       SongTags("Pop", "Abba", "Gold", "Waterloo", "1"));
    QStringList cut;
    bool shown = false;
    const auto watcher = AnswerBoxesAnd([&](QWidget* modal) {
        auto* list = dynamic_cast<ToolDupsActionListDlg*>(modal);
        if (!list || shown)
            return;
        shown = true;
        const ActionListView& view = list->View();
        const QAbstractItemModel& model = *view.model();
        const bool roomForAll = list->width() < list->screen()->availableGeometry().width();
        for (int column = 0; column < model.columnCount(); ++column) {
            const bool shared =
                column == DuplicatesListModel::kSongColumn || column == DuplicatesListModel::kFileColumn;
            if (shared && !roomForAll)
                continue;
            const QString header = model.headerData(column, Qt::Horizontal).toString();
            const int headerMargin = view.style()->pixelMetric(QStyle::PM_HeaderMargin);
            if (view.fontMetrics().horizontalAdvance(header) + 2 * headerMargin > view.columnWidth(column))
                cut.append(header);
            for (int row = 0; row < model.rowCount(); ++row) {
                const QString text = model.index(row, column).data().toString();
                if (view.fontMetrics().horizontalAdvance(text) + 2 * ActionRowDelegate::kTextInset >
                    view.columnWidth(column))
                    cut.append(text);
            }
        }
        list->ButtonById(ActionListDialog::kCancelButton)->click();
    });
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    QMenu* tools = OpenMenuByTitle(test.Controls().menu, "Tools");
    ASSERT_TRUE(tools);
    QMenu* duplicates = ClickMenuEntry(*tools, "Remove Duplicates");
    ASSERT_TRUE(duplicates);
    ClickMenuEntry(*duplicates, "From iTunes");
    ASSERT_TRUE(SpinUntil([&] { return shown || !boxes.isEmpty(); }, std::chrono::milliseconds(20000)))
        << test.Controls().log.toPlainText().toStdString();
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_TRUE(shown) << boxes.join("|").toStdString();
    EXPECT_TRUE(cut.isEmpty()) << cut.join(" | ").toStdString();
}

// A folder of ORVANTIS_EXTRA_VOLUMES that does not exist when the program starts: made as an iPod
// afterwards, it is in the chooser within two seconds, and removed, it is gone as soon.
TEST_F(MainWindowInputTest, AnExtraVolumeFolderMadeAndRemovedAfterStartReachesTheChooser) {
    const std::string pod = home.Folder().File("later/Traveller");
    home.MountVolume(pod);
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    ASSERT_EQ(test.ChooserTexts(), QStringList({"Connect to Remote"}));

    Pod(pod, {u"Traveller", {}, 2, "", false});
    EXPECT_TRUE(SpinUntil([&] { return test.ChooserTexts().contains("Traveller"); }, kVolumeShown))
        << test.ChooserTexts().join("|").toStdString();
    ASSERT_TRUE(test.WaitIdle());

    fs::remove_all(pod);
    EXPECT_TRUE(SpinUntil([&] { return !test.ChooserTexts().contains("Traveller"); }, kVolumeShown))
        << test.ChooserTexts().join("|").toStdString();
    ASSERT_TRUE(test.WaitIdle());
    EXPECT_EQ(test.ChooserTexts(), QStringList({"Connect to Remote"}));
}

// A removable volume mounted and unmounted while the program runs, in a mount namespace of the test
// process's own (its later tests run in it too) with a tmpfs over /media: the iPod written onto the
// mounted tmpfs is in the chooser within two seconds, and gone as soon after the unmount.
TEST_F(MainWindowInputTest, AnIPodMountedAndUnmountedWhileTheProgramRunsReachesTheChooser) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mount namespace of our own: " << std::strerror(errno);
    if (mount("orvantis-media", "/media", "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "no tmpfs over /media: " << std::strerror(errno);
    const std::string pod = "/media/TRAVELLER";
    fs::create_directories(pod);
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    ASSERT_EQ(test.ChooserTexts(), QStringList({"Connect to Remote"}));

    ASSERT_EQ(mount("orvantis-pod", pod.c_str(), "tmpfs", 0, nullptr), 0) << std::strerror(errno);
    Pod(pod, {u"Traveller", {}, 2, "", false});
    const bool arrived = SpinUntil([&] { return test.ChooserTexts().contains("Traveller"); }, kVolumeShown);
    const bool idle = test.WaitIdle();
    umount2(pod.c_str(), MNT_DETACH);
    const bool went = SpinUntil([&] { return !test.ChooserTexts().contains("Traveller"); }, kVolumeShown);
    const QStringList after = test.ChooserTexts();
    test.WaitIdle();
    umount2("/media", MNT_DETACH);
    EXPECT_TRUE(arrived);
    EXPECT_TRUE(idle);
    EXPECT_TRUE(went) << after.join("|").toStdString();
}
