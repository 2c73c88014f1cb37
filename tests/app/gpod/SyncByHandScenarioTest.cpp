// A sync as a new user runs it by hand, offscreen, with nothing made by our own code: a library file
// written as the music application writes it, naming song files tagged by outside tools, and an iPod
// that libgpod prepared. The iPod and the sync's way are chosen by clicks, the sync starts with the
// start button (which turns into "Cancel") and its action list is executed by its button; libgpod
// then finds every song in the iPod's database. Another run is cancelled through the same button
// while it waits on its list.

#include "GpodView.h"
#include "MusicAppLibraryFile.h"
#include "app/dialogs/SyncActionListDlg.h"
#include "harness/AppTestHome.h"
#include "harness/ModalAnswers.h"
#include "harness/QtPrinting.h"
#include "harness/UserClicks.h"
#include "harness/WindowUnderTest.h"
#include "support/TempDir.h"
#include "widgets/WidgetTestSupport.h"

#include <QMenu>
#include <QPushButton>
#include <QWidgetAction>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPodName = "Scenario iPod";
constexpr int kCopyITunesToIPod = 2;

struct LibrarySong {
    const char* fixture;
    const char* name;
    const char* artist;
    const char* album;
    const char* kind;
};

// The music application's records of the songs: names as the user keeps them in the library.
constexpr LibrarySong kSongs[] = {
    {"v24_mutagen.mp3", "Long Title", "Mutagen Artist", "Mutagen Album", "MPEG audio file"},
    {"v23_eyed3_extended.mp3", "Extended", "EyeD3 Artist", "EyeD3 Album", "MPEG audio file"},
    {"id3v1_only.mp3", "Five", "Some Artist", "An Album", "MPEG audio file"},
    {"mp4_atomicparsley.m4a", "MP4 Title", "MP4 Artist", "MP4 Album", "AAC audio file"},
};

class SyncByHandScenarioTest : public testing::Test {
protected:
    void SetUp() override {
        for (const LibrarySong& song : kSongs)
            songFiles.push_back(PlaceTaggedSong(home.Folder().File("Music files"), song.fixture));
        WriteLibraryFile();
        pod = home.Folder().File("SCENARIO");
        fs::create_directories(pod);
        ASSERT_TRUE(MakePodWithGpod(pod, "MA002", kPodName));
        home.MountVolume(pod);
    }

    void WriteLibraryFile() const {
        std::vector<MusicAppSong> songs;
        for (size_t i = 0; i < songFiles.size(); ++i) {
            const LibrarySong& song = kSongs[i];
            songs.push_back({songFiles[i], song.name, song.artist, song.album, "Test", song.kind});
        }
        WriteMusicAppLibraryFile(home.Folder().File("XDG_MUSIC_DIR/iTunes"), songs);
    }

    // Answers message boxes with OK and the sync's questions with "Yes", keeping their texts; hands
    // the sync's action list to `act` the first time it shows.
    std::unique_ptr<ModalWatcher> WatchTheRun(std::function<void(SyncActionListDlg&)> act) {
        return AnswerBoxesAnd(answers, [this, act = std::move(act)](QWidget* modal) {
            if (auto* list = dynamic_cast<SyncActionListDlg*>(modal); list && !listed) {
                listed = true;
                act(*list);
            }
        });
    }

    // Starts the run by the start button and waits until it has ended; nothing was told or asked.
    void RunByHand(WindowUnderTest& test) {
        AButton& start = test.Controls().startButton;
        ClickAt(start, start.rect().center());
        ASSERT_TRUE(SpinUntil([&] { return listed && test.IsIdle(); }, std::chrono::milliseconds(60000)))
            << Log(test).toStdString() << answers.boxes.join("|").toStdString();
        ASSERT_TRUE(test.WaitIdle());
        EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join("|").toStdString();
        EXPECT_TRUE(answers.questions.isEmpty()) << answers.questions.join("|").toStdString();
    }

    // The user picks the iPod in the chooser and "Copy iTunes to iPod" in the sync picture's popup.
    void ChooseByHand(WindowUnderTest& test) {
        ASSERT_TRUE(test.StartAndWaitIdle());
        AComboBox& chooser = test.Controls().chooser;
        ClickAt(chooser, chooser.rect().center());
        QMenu* devices = OpenMenu();
        ASSERT_TRUE(devices);
        ClickMenuEntry(*devices, kPodName);
        ASSERT_TRUE(test.WaitIdle());
        EXPECT_EQ(test.Window().Chooser().Selected()->text, kPodName);

        ASyncSettingBitmap& picture = test.Controls().syncPicture;
        ClickAt(picture, picture.rect().center());
        QMenu* ways = OpenMenu();
        ASSERT_TRUE(ways);
        auto* way = qobject_cast<QWidgetAction*>(ways->actions().value(kCopyITunesToIPod));
        ASSERT_TRUE(way);
        QWidget* item = way->defaultWidget();
        ASSERT_TRUE(item && item->isVisible());
        ClickAt(*item, item->rect().center());
        ASSERT_TRUE(
            SpinUntil([&] { return test.Controls().syncPicture.toolTip() == "Copy iTunes to iPod"; }));
        ASSERT_TRUE(test.WaitIdle());
    }

    QString Log(WindowUnderTest& test) const { return test.Controls().log.toPlainText(); }

    // The files of the iPod's tracks as libgpod finds them, each compared with the song files.
    std::vector<std::string> CopiedSongs() const {
        std::vector<std::string> copied;
        for (const auto& [title, file] : ReadWithGpod(pod).files) {
            for (const std::string& song : songFiles) {
                if (!file.empty() && ReadBytes(file) == ReadBytes(song))
                    copied.push_back(fs::path(song).filename().string());
            }
        }
        std::sort(copied.begin(), copied.end());
        return copied;
    }

    AppTestHome home;
    std::vector<std::string> songFiles;
    std::string pod;
    ModalAnswers answers;
    bool listed = false;
};

} // namespace

TEST_F(SyncByHandScenarioTest, EverySongOfTheLibraryReachesTheIPodAsLibgpodReadsIt) {
    WindowUnderTest test(home);
    QString captionWhileRunning;
    QString tooltipWhileRunning;
    const auto watcher = WatchTheRun([&](SyncActionListDlg& list) {
        captionWhileRunning = test.Controls().startCaption.GetText();
        tooltipWhileRunning = test.Controls().startButton.toolTip();
        QPushButton* execute = list.ButtonById(ActionListDialog::kExecuteButton);
        ClickAt(*execute, execute->rect().center());
    });
    ChooseByHand(test);
    RunByHand(test);
    EXPECT_EQ(captionWhileRunning, "Cancel");
    EXPECT_EQ(tooltipWhileRunning, "Cancel");
    EXPECT_TRUE(SpinUntil([&] { return Log(test).contains("Sync completed."); })) << Log(test).toStdString();

    std::vector<std::string> expected;
    for (const LibrarySong& song : kSongs)
        expected.push_back(song.fixture);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(CopiedSongs(), expected);
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
    EXPECT_EQ(test.Controls().startButton.toolTip(), "Perform sync");
}

TEST_F(SyncByHandScenarioTest, TheStartButtonCancelsARunThatWaitsOnItsList) {
    WindowUnderTest test(home);
    AButton& start = test.Controls().startButton;
    const auto watcher = WatchTheRun([&](SyncActionListDlg&) { ClickAt(start, start.rect().center()); });
    ChooseByHand(test);
    const std::vector<uint8_t> database = ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB");
    RunByHand(test);
    EXPECT_TRUE(SpinUntil([&] { return Log(test).contains("User cancelled."); })) << Log(test).toStdString();
    EXPECT_FALSE(Log(test).contains("Performing sync...")) << Log(test).toStdString();
    EXPECT_TRUE(CopiedSongs().empty());
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB"), database);
    EXPECT_EQ(test.Controls().startCaption.GetText(), "Start Now");
}
