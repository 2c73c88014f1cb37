// The library tools as the window runs them: the refusals before the busy lock, the lists that do not
// fit a tool, and one run on each kind of list, whose filters are off for the run and back afterwards,
// through a presenter that records what it was shown.

#include "app/commands/ToolCommands.h"
#include "app/state/AppErrorCodes.h"
#include "foundation/AProgress.h"
#include "foundation/ASemaphore.h"
#include "foundation/ErrorCodes.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/ADirTunes.h"
#include "library/tools/HeadlessToolActionPresenter.h"
#include "library/tools/LibraryTools.h"
#include "support/AStringPrinting.h"
#include "support/RecordingProgressViews.h"
#include "support/RecordingUserInterface.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr int kDuplicatesFromITunes = 32837;
constexpr int kDuplicatesFromIPod = 32838;
constexpr int kOrphansFromIPod = 32829;
constexpr int kAddDisconnectedInITunes = 32834;

class ToolCommandsTest : public testing::Test {
protected:
    ToolCommandsTest() {
        LibraryTools::Install();
        progress.SetStatus(&status);
        progress.SetLogWindow(&log);
    }

    ToolJob Job(int command, ADir* library, ADir* device) {
        const ToolCommand* tool = ToolCommands::Find(command);
        return {tool ? tool->code : 0, library, device, &presenter, [] { return 0; }};
    }
    std::string Log() const { return log.text.ToUtf8(); }
    // The list's filters that the run switches off, set so that they would leave out every mp3 song.
    static void FilterOutMp3(ADir& list) {
        list.SetFlags(SongFilter::kDropListed);
        list.SetExcludeTypeList(AString(":mp3:"));
        list.SetNameFilter(SongFilter::kDropListed, AString(), AString(":S:"));
    }
    static void ExpectMp3FilteredOut(ADir& list) {
        EXPECT_EQ(list.GetTypeFilterFlags(), uint32_t(SongFilter::kDropListed));
        EXPECT_EQ(list.GetExcludeTypeList(), AString(":mp3:"));
        EXPECT_EQ(list.GetNameFilterFlags(), uint32_t(SongFilter::kDropListed));
        EXPECT_EQ(list.GetDropNames(), AString(":S:"));
    }
    // An iPod of tracks whose files are missing, read from its own database.
    std::string Pod(int tracks) const {
        const std::string root = home.Folder().File("pod");
        WriteFakePod(root, {u"Pod", {}, tracks, "", false});
        std::filesystem::create_directories(root + "/iPod_Control/Music");
        return root;
    }

    AppTestHome home;
    RecordingUserInterface user;
    RecordingStatusView status;
    RecordingLogView log;
    AProgress progress;
    HeadlessToolActionPresenter presenter;
};

} // namespace

TEST_F(ToolCommandsTest, ADeviceToolNeedsAChosenDeviceBeforeTheBusyLock) {
    struct Case {
        int command;
        bool deviceChosen;
        bool busyBefore;
        ToolStart start;
        bool lockedAfter;
    };
    for (const Case& c : {
             Case{kDuplicatesFromIPod, false, false, ToolStart::NoDevice, false},
             Case{kDuplicatesFromIPod, false, true, ToolStart::NoDevice, true},
             Case{kDuplicatesFromIPod, true, false, ToolStart::Started, true},
             Case{kDuplicatesFromIPod, true, true, ToolStart::Busy, true},
             Case{kDuplicatesFromITunes, false, false, ToolStart::Started, true},
             Case{kDuplicatesFromITunes, false, true, ToolStart::Busy, true},
         }) {
        SCOPED_TRACE(testing::Message() << c.command << " chosen " << c.deviceChosen << " busy " << c.busyBefore);
        ASemaphore busy;
        if (c.busyBefore) {
            ASSERT_TRUE(busy.TryLock());
        }
        EXPECT_EQ(ToolCommands::TryStart(*ToolCommands::Find(c.command), c.deviceChosen, busy), c.start);
        EXPECT_EQ(busy.IsLocked(), c.lockedAfter);
    }
    EXPECT_EQ(ToolCommands::Find(32849)->code, 12) << "the iPod's album art has no menu item but a command";
    EXPECT_EQ(ToolCommands::Find(32861), nullptr);
}

TEST_F(ToolCommandsTest, AListThatDoesNotFitTheToolEndsWithErrorOccured) {
    ADirTunes library(&progress);
    ADirSongDir folder(&progress);
    ADirPodDB pod(&progress);
    struct Case {
        const char* name;
        ToolJob job;
        int result;
        const char* scanText;
    };
    ToolJob badCode = Job(kDuplicatesFromITunes, &library, &pod);
    badCode.code = 13;
    for (const Case& c : {
             Case{"a folder as the library", Job(kDuplicatesFromITunes, &folder, &pod), kErrorToolNotOnLibrary,
                  "Scanning for Duplicates: iTunes...\r\n"},
             Case{"no library", Job(kDuplicatesFromITunes, nullptr, &pod), kErrorToolNotOnLibrary,
                  "Scanning for Duplicates: iTunes...\r\n"},
             Case{"a folder as the device", Job(kOrphansFromIPod, &library, &folder), kErrorToolNotOnPod,
                  "Scanning for Orphans: iPod...\r\n"},
             Case{"the library as the device", Job(kOrphansFromIPod, &pod, &library), kErrorToolNotOnPod,
                  "Scanning for Orphans: iPod...\r\n"},
             Case{"no device", Job(kOrphansFromIPod, &library, nullptr), kErrorToolNotOnPod,
                  "Scanning for Orphans: iPod...\r\n"},
             Case{"a code of no tool", badCode, kErrorToolCode, ""},
         }) {
        SCOPED_TRACE(c.name);
        log.text = AString("the last run's log");
        EXPECT_EQ(ToolCommands::Run(c.job, progress), c.result);
        EXPECT_EQ(Log(), std::string(c.scanText) + "Error occured!\r\n");
        EXPECT_EQ(status.line1, AString("Error occured!"));
        EXPECT_EQ(status.line2, AString("Error occured!"));
        EXPECT_TRUE(presenter.Shown().empty());
    }
}

TEST_F(ToolCommandsTest, OrphansOfAnIPodAreFoundWithItsFiltersOffAndRemovedWhenConfirmed) {
    const std::string root = Pod(3);
    ADirPodDB pod(&progress);
    pod.SetRootPath(AString(root));
    FilterOutMp3(pod);

    EXPECT_EQ(ToolCommands::Run(Job(kOrphansFromIPod, nullptr, &pod), progress), kUserCancel);
    ASSERT_EQ(presenter.Shown().size(), 1U);
    EXPECT_EQ(presenter.Shown()[0].kind, uint32_t(kToolRemoveOrphans));
    EXPECT_EQ(presenter.Shown()[0].rows.size(), 3U);
    ExpectMp3FilteredOut(pod);
    EXPECT_EQ(Log().find("\nDone!\r\n"), std::string::npos);

    presenter.QueueAnswers({true});
    EXPECT_EQ(ToolCommands::Run(Job(kOrphansFromIPod, nullptr, &pod), progress), 0);
    EXPECT_EQ(Log().rfind("Scanning for Orphans: iPod...\r\n", 0), 0U) << "the log starts afresh";
    EXPECT_NE(Log().find("\nDone!\r\n"), std::string::npos);
    EXPECT_EQ(status.line1, AString("Done!"));
    ExpectMp3FilteredOut(pod);
    ADirPodDB again;
    const AString rootText(root);
    ASSERT_EQ(again.Open(&rootText, 0, CancelCallback()), 0);
    EXPECT_EQ(again.GetCount(), 0) << "the database was written without the orphans";
}

TEST_F(ToolCommandsTest, DisconnectedFilesOfTheLibraryAreLookedForInTheWholeLibrary) {
    const std::string song = home.Folder().File("XDG_MUSIC_DIR/iTunes/iTunes Music/Artist/Album/Song.mp3");
    std::filesystem::create_directories(std::filesystem::path(song).parent_path());
    WriteBytes(song, std::vector<uint8_t>(200, 0));
    ADirTunes library(&progress);
    FilterOutMp3(library);
    // The library has no such playlist: reading it with the limit would fail.
    library.SetPlayListName(AString("Mix"));
    library.SetSizeMatchesTarget(1);

    EXPECT_EQ(ToolCommands::Run(Job(kAddDisconnectedInITunes, &library, nullptr), progress), kUserCancel);
    ASSERT_EQ(presenter.Shown().size(), 1U);
    EXPECT_EQ(presenter.Shown()[0].kind, uint32_t(kToolAddDisconnectedFiles));
    ASSERT_EQ(presenter.Shown()[0].rows.size(), 1U);
    EXPECT_EQ(presenter.Shown()[0].rows[0].entry, AString(song));
    AString playList;
    library.GetPlayListName(playList);
    EXPECT_EQ(playList, AString("Mix"));
    EXPECT_EQ(library.GetSizeMatchesTarget(), 1U);
    ExpectMp3FilteredOut(library);
}

TEST_F(ToolCommandsTest, TheJobsPresenterShowsOnlyThatRunsLists) {
    HeadlessToolActionPresenter processPresenter;
    ToolActionPresenter* const before = ADirSong::SetToolActionPresenter(&processPresenter);
    const std::string root = Pod(1);
    ADirPodDB pod(&progress);
    pod.SetRootPath(AString(root));

    ToolCommands::Run(Job(kOrphansFromIPod, nullptr, &pod), progress);
    ToolJob withoutPresenter = Job(kOrphansFromIPod, nullptr, &pod);
    withoutPresenter.presenter = nullptr;
    ToolCommands::Run(withoutPresenter, progress);
    EXPECT_EQ(presenter.Shown().size(), 1U);
    EXPECT_EQ(processPresenter.Shown().size(), 1U);
    EXPECT_EQ(ADirSong::SetToolActionPresenter(before), &processPresenter);
}
