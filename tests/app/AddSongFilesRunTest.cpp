// Adding song files to an iPod of the set's first sync through the song sync's add road (folders
// expanded, the add list confirmed, the target's filters kept), and the HTML lists written in the data
// folder and opened through a shell that records them.

#include "app/commands/AddSongFilesRun.h"

#include "app/commands/HtmlLibraryList.h"
#include "app/commands/SongFileDialog.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/QtPrinting.h"
#include "harness/RecordingShell.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirTunes.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tools/HeadlessToolActionPresenter.h"
#include "library/tools/LibraryTools.h"
#include "support/AStringPrinting.h"
#include "sync/ASyncLib.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPodID = "00A1B2C3";

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Sorted(const std::vector<AString>& texts) {
    std::vector<std::string> sorted;
    for (const AString& text : texts)
        sorted.push_back(text.ToUtf8());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// A mounted iPod known by its own database (empty, set to manual update), the set's first sync from
// the library to it, and song files to add below "add".
class AddSongFilesRunTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFakePod(PodRoot(), {u"Test iPod", {}, 0, "", false});
        fs::create_directories(PodRoot() + "/iPod_Control/Music");
        // Manual update, married to no library.
        std::ofstream(PodRoot() + "/iPod_Control/iTunes/iTunesPrefs", std::ios::binary)
            << std::string(32, '\0');
        home.MountVolume(PodRoot());
        LibraryTools::Install();
        ADirSong::SetToolActionPresenter(&presenter);
        const AString root = AString::FromUtf8(PodRoot());
        ASSERT_EQ(first.BuildList2(&root, {}, false, true), 0);
        first.SetDirection(kDirection2To1);
        first.SetDeleteMode(1);
        for (const char* title : {"One", "Two"})
            WriteSongFile(Added(std::string("Album/") + title + ".mp3"),
                          MakeMp3(SongTags("Pop", "Band", "Live", title)));
        WriteSongFile(Added("Album/Disc 2/Three.mp3"), MakeMp3(SongTags("Pop", "Band", "Live", "Three")));
        WriteTextFile(Added("Album/notes.txt"), "not a song");
        WriteSongFile(Added("Single.mp3"), MakeMp3(SongTags("Rock", "Solo", "Hits", "Single")));
    }
    void TearDown() override { ADirSong::SetToolActionPresenter(nullptr); }

    std::string PodRoot() const { return home.Folder().File("pod"); }
    std::string Added(const std::string& name) const { return home.Folder().File("add/" + name); }
    SongFileSelection Dropped() const {
        return *SongFileSelection::FromPaths(
            {AString::FromUtf8(Added("Album")), AString::FromUtf8(Added("Single.mp3"))});
    }
    AddSongFilesRun::Result Add(const CancelCallback& cancel = CancelCallback()) {
        AddSongFilesRun run(first, ASync::kSide2, Dropped(), SongFileDialog::TypeList(false), progress);
        return run.Run(cancel);
    }
    int SongsOnPod() {
        ADirPodDB pod(&progress);
        const AString root = AString::FromUtf8(PodRoot());
        EXPECT_EQ(pod.Open(&root, 0, CancelCallback()), 0);
        return pod.GetCount();
    }
    DeviceSyncSet::Device Pod() const {
        return {ChooserKind::PodDatabase, AString(kPodID), AString("Test iPod"), AString::FromUtf8(PodRoot()),
                0};
    }

    AppTestHome home;
    AProgress progress;
    HeadlessToolActionPresenter presenter;
    ASyncLib first{ADir::kTypeTunes, ADir::kTypePodDB, &progress};
};

} // namespace

TEST_F(AddSongFilesRunTest, FoldersGiveTheirFilesOfTheOfferedTypes) {
    WriteTextFile(Added("Album/clip.m4v"), "video");
    const SongFileSelection dropped = Dropped();
    SongFileSelection songs = dropped;
    ASSERT_EQ(
        AddSongFilesRun::ExpandFolderEntries(songs, true, SongFileDialog::TypeList(false), {}, progress), 0);
    EXPECT_EQ(songs.root, dropped.root);
    EXPECT_EQ(Sorted(songs.entries), (std::vector<std::string>{"Album/Disc 2/Three.mp3", "Album/One.mp3",
                                                               "Album/Two.mp3", "Single.mp3"}));
    SongFileSelection withVideo = dropped;
    ASSERT_EQ(
        AddSongFilesRun::ExpandFolderEntries(withVideo, true, SongFileDialog::TypeList(true), {}, progress),
        0);
    EXPECT_EQ(withVideo.entries.size(), 5U);
    SongFileSelection notExpanded = dropped;
    ASSERT_EQ(AddSongFilesRun::ExpandFolderEntries(notExpanded, false, SongFileDialog::TypeList(true), {},
                                                   progress),
              0);
    EXPECT_EQ(Sorted(notExpanded.entries), std::vector<std::string>{"Single.mp3"});

    // A cancel leaves the selection as it was and gives the cancel's result, once.
    SongFileSelection cancelled = dropped;
    EXPECT_EQ(AddSongFilesRun::ExpandFolderEntries(
                  cancelled, true, SongFileDialog::TypeList(false), [] { return 1; }, progress),
              kUserCancel);
    EXPECT_EQ(cancelled.entries, dropped.entries);
}

TEST_F(AddSongFilesRunTest, ACancelledExpansionEndsTheRunBeforeAnythingIsOffered) {
    int polls = 0;
    const AddSongFilesRun::Result result = Add([&polls] { return ++polls > 1 ? 1 : 0; });
    EXPECT_EQ(result.result, kUserCancel);
    EXPECT_EQ(result.count, 0);
    EXPECT_TRUE(presenter.Shown().empty());
    EXPECT_EQ(SongsOnPod(), 0);
}

TEST_F(AddSongFilesRunTest, TheConfirmedSongsReachTheIPodAndTheTargetKeepsItsFilters) {
    ADir& target = first.GetDirectory2();
    // Filters that would hide mp3 songs from the target's list: off during the run, back after it.
    target.SetTypeList(AString(":m4a:"));
    target.SetFlags(SongFilter::kKeepListed);
    target.SetNameFilter(SongFilter::kDropListed, AString(), AString(":Live:"));
    const uint32_t direction = first.GetDirection();

    presenter.QueueAnswers({false});
    AddSongFilesRun::Result result = Add();
    EXPECT_EQ(result.result, kUserCancel);
    EXPECT_EQ(SongsOnPod(), 0);

    presenter.QueueAnswers({true});
    result = Add();
    EXPECT_EQ(result.result, 0);
    EXPECT_EQ(result.count, 4);
    EXPECT_EQ(SongsOnPod(), 4);
    const auto shown = presenter.Shown();
    ASSERT_EQ(shown.size(), 2U);
    EXPECT_EQ(shown[1].title, AString("Add Song File(s) To iPod - Files to Add"));

    EXPECT_EQ(target.GetTypeFilterFlags(), uint32_t(SongFilter::kKeepListed));
    EXPECT_EQ(target.GetNameFilterFlags(), uint32_t(SongFilter::kDropListed));
    EXPECT_EQ(target.GetDropNames(), AString(":Live:"));
    EXPECT_EQ(&first.GetDirectory2(), &target);
    EXPECT_EQ(first.GetDirection(), direction);

    // The songs are there now: nothing is offered again.
    result = Add();
    EXPECT_EQ(result.result, 0);
    EXPECT_EQ(presenter.Shown().size(), 2U);
    EXPECT_EQ(SongsOnPod(), 4);
}

TEST_F(AddSongFilesRunTest, TheIPodsListIsNamedByItsIdentifierAndOpenedOnceWritten) {
    presenter.QueueAnswers({true});
    ASSERT_EQ(Add().result, 0);
    RecordingShell shell;
    const std::string page = home.DataFolder() + "/" + kPodID + ".html";
    for (int run = 0; run < 2; ++run) {
        std::unique_ptr<HtmlLibraryList> list = HtmlLibraryList::ForPod(Pod(), AString(), progress);
        ASSERT_TRUE(list);
        EXPECT_EQ(list->PageName(), AString(std::string(kPodID) + ".html"));
        const HtmlLibraryList::Result result = list->Run({}, shell);
        EXPECT_EQ(result.result, 0);
        EXPECT_EQ(result.count, 4);
    }
    EXPECT_EQ(shell.paths, QStringList(2, QString::fromStdString(page)));
    const std::string text = ReadText(page);
    for (const char* title : {"One", "Two", "Three", "Single"})
        EXPECT_NE(text.find(std::string("<TD>") + title + "</TD>"), std::string::npos) << title;
    EXPECT_NE(text.find("<TH>GENRE</TH><TH>ARTIST</TH><TH>ALBUM</TH><TH>SONG NAME</TH><TH>FILE TYPE</TH>"),
              std::string::npos);

    // A cancelled build opens nothing and keeps the page.
    const HtmlLibraryList::Result cancelled =
        HtmlLibraryList::ForPod(Pod(), AString(), progress)->Run([] { return 1; }, shell);
    EXPECT_EQ(cancelled.result, kUserCancel);
    EXPECT_EQ(shell.paths.size(), 2);
    EXPECT_EQ(ReadText(page), text);
}

TEST_F(AddSongFilesRunTest, TheLibrarysListIsOpenedAndAFailedOneIsNot) {
    std::unique_ptr<HtmlLibraryList> whole = HtmlLibraryList::ForLibrary(AString(), progress);
    EXPECT_EQ(whole->List().GetRootPath(), AString("*ITunes_Root**"));
    EXPECT_EQ(whole->PageName(), AString("iTunes_List.html"));
    const EntryLayout& layout = whole->List().GetEntryLayout();
    EXPECT_EQ(std::vector<uint32_t>({layout.type, layout.genre, layout.album, layout.track, layout.option}),
              std::vector<uint32_t>({1, 1, 1, 0, 0}));
    RecordingShell shell;
    EXPECT_EQ(whole->Run({}, shell).result, 0);
    EXPECT_EQ(shell.paths, QStringList{QString::fromStdString(home.DataFolder() + "/iTunes_List.html")});

    std::unique_ptr<HtmlLibraryList> missing = HtmlLibraryList::ForLibrary(AString("Mix"), progress);
    EXPECT_EQ(missing->List().GetRootPath(), AString("*ITunes_Root*Mix*"));
    AString playList;
    missing->List().GetPlayListName(playList);
    EXPECT_EQ(playList, AString("Mix"));
    EXPECT_EQ(missing->Run({}, shell).result, kErrorInvalidPlayList);
    EXPECT_EQ(shell.paths.size(), 1);
}

TEST_F(AddSongFilesRunTest, OnlyIPodsWithAHexadecimalIdentifierHaveAList) {
    DeviceSyncSet::Device device = Pod();
    device.kind = ChooserKind::LibraryPod;
    std::unique_ptr<HtmlLibraryList> shown = HtmlLibraryList::ForPod(device, AString("Gym"), progress);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->List().GetRootPath(), AString("*IPod_Root*Test iPod*"));
    device.kind = ChooserKind::RemoteHost;
    EXPECT_FALSE(HtmlLibraryList::ForPod(device, AString(), progress));
    for (const char* id : {"", "../../x", "00A1B2C3/"}) {
        device = Pod();
        device.id = AString(id);
        EXPECT_FALSE(HtmlLibraryList::ForPod(device, AString(), progress)) << id;
    }
}
