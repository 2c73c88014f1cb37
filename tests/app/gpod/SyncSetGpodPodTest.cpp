// "Make iPod equal to iTunes" through the sync set as the program builds it for a device, with nothing
// made by our own code: an iPod that libgpod prepared (no "iTunesPrefs"), a library file written as
// the music application writes it, and song files tagged by outside tools whose tags say other names
// than the library's records (an ID3v2.4 tag with an album artist beside the artist among them). The
// first run fills the iPod, libgpod reads every track, and a second run finds nothing to do.

#include "GpodView.h"
#include "MusicAppLibraryFile.h"
#include "app/devices/DeviceSyncSet.h"
#include "foundation/AProgress.h"
#include "harness/AppTestHome.h"
#include "library/songlists/ADirPodDB.h"
#include "support/AStringPrinting.h"
#include "support/RecordingUserInterface.h"
#include "support/ScopedTimeZone.h"
#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SyncModeTables.h"

#include <QString>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPodName = "Gpod Set iPod";

struct LibrarySong {
    const char* fixture;
    const char* name;
    const char* artist;
    const char* album;
    int trackNumber;
    const char* kind;
};

// The library's records: names the user gave the songs in the music application, none as the tags say.
constexpr LibrarySong kSongs[] = {
    {"v24_mutagen.mp3", "Record One", "Record Artist", "Record Album", 1, "MPEG audio file"},
    {"v23_eyed3_extended.mp3", "Record Two", "Record Artist", "Record Album", 2, "MPEG audio file"},
    {"id3v1_only.mp3", "Record Three", "Other Artist", "Other Album", 3, "MPEG audio file"},
    {"vbr_mpeg1.mp3", "Record Four", "Other Artist", "Other Album", 4, "MPEG audio file"},
    {"mp4_atomicparsley.m4a", "Record Five", "MP4 Record Artist", "Record Album", 5, "AAC audio file"},
};

class SyncSetGpodPod : public testing::Test {
protected:
    void SetUp() override {
        for (const LibrarySong& song : kSongs)
            songFiles.push_back(PlaceTaggedSong(home.Folder().File("Music files"), song.fixture));
        WriteLibraryFile();
        pod = home.Folder().File("GPODSET");
        fs::create_directories(pod);
        ASSERT_TRUE(MakePodWithGpod(pod, "MA147", kPodName));
        ASSERT_FALSE(fs::exists(pod + "/iPod_Control/iTunes/iTunesPrefs"));
        home.MountVolume(pod);
    }

    void WriteLibraryFile() const {
        std::vector<MusicAppSong> songs;
        for (size_t i = 0; i < songFiles.size(); ++i) {
            const LibrarySong& song = kSongs[i];
            songs.push_back({songFiles[i], song.name, song.artist, song.album, "Library Genre", song.kind,
                             song.trackNumber});
        }
        WriteMusicAppLibraryFile(home.Folder().File("XDG_MUSIC_DIR/iTunes"), songs);
    }

    // The chooser's entry for the iPod, named by its identifier as the program names it.
    DeviceSyncSet::Device Pod() const {
        ADirPodDB probe;
        probe.SetRootPath(AString::FromUtf8(pod));
        return {ChooserKind::PodDatabase, probe.GetPodID(), AString(kPodName), AString::FromUtf8(pod), 4};
    }

    std::set<std::string> MusicFiles() const {
        std::set<std::string> files;
        for (const auto& item : fs::recursive_directory_iterator(pod + "/iPod_Control/Music"))
            if (item.is_regular_file())
                files.insert(item.path().string());
        return files;
    }

    // The song files whose bytes the files libgpod finds for the iPod's tracks hold.
    std::multiset<std::string> SongsLibgpodFinds(const GpodView& view) const {
        std::multiset<std::string> found;
        for (const auto& [title, file] : view.files) {
            for (const std::string& song : songFiles) {
                if (!file.empty() && ReadBytes(file) == ReadBytes(song))
                    found.insert(fs::path(song).filename().string());
            }
        }
        return found;
    }

    AppTestHome home;
    RecordingUserInterface user;
    AProgress progress;
    std::vector<std::string> songFiles;
    std::string pod;
    int actionsShown = -1;
    HeadlessActionPresenter presenter{[this](ASync& sync, const SyncActionTexts&) {
        actionsShown = sync.GetActionCount();
        return true;
    }};
};

} // namespace

TEST_F(SyncSetGpodPod, TheFirstRunFillsTheIPodAndTheSecondFindsNothingToDo) {
    // The iPod counts its times on the local calendar: a zone away from UTC shows a wrong offset.
    const ScopedTimeZone newYork("EST5EDT,M3.2.0,M11.1.0");
    DeviceSyncSet syncSet(&progress, nullptr, AString::FromUtf8(home.DataFolder()));
    syncSet.SetSeams(&presenter, nullptr);
    const DeviceSyncSet::Device device = Pod();
    QString message;
    ASSERT_EQ(syncSet.LoadRecent(&device, kModeMake2Equal1, message), 0) << message.toStdString();

    const time_t started = time(nullptr);
    ASSERT_EQ(syncSet.Set().Run(CancelCallback()), 0) << progress.PendingLog().ToUtf8();
    const time_t ended = time(nullptr);
    EXPECT_EQ(actionsShown, static_cast<int>(std::size(kSongs)));
    const GpodView first = ReadWithGpod(pod);
    EXPECT_EQ(first.files.size(), std::size(kSongs));
    std::multiset<std::string> expected;
    for (const LibrarySong& song : kSongs) {
        expected.insert(song.fixture);
        EXPECT_TRUE(first.files.count(song.name)) << song.name;
        const auto added = first.added.find(song.name);
        ASSERT_NE(added, first.added.end()) << song.name;
        EXPECT_GE(added->second, started - 2) << song.name;
        EXPECT_LE(added->second, ended + 2) << song.name;
    }
    EXPECT_EQ(SongsLibgpodFinds(first), expected);
    const std::vector<uint8_t> database = ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB");
    const std::set<std::string> files = MusicFiles();
    EXPECT_EQ(files.size(), std::size(kSongs));

    actionsShown = -1;
    ASSERT_EQ(syncSet.Set().Run(CancelCallback()), 0) << progress.PendingLog().ToUtf8();
    EXPECT_EQ(actionsShown, -1) << "the second run showed actions";
    EXPECT_EQ(ReadBytes(pod + "/iPod_Control/iTunes/iTunesDB"), database);
    EXPECT_EQ(MusicFiles(), files);
    EXPECT_EQ(SongsLibgpodFinds(ReadWithGpod(pod)), expected);
    EXPECT_FALSE(fs::exists(pod + "/iPod_Control/iTunes/iTunesPrefs"));
}
