// A copy of the library to the iPod killed at random moments and run again each time: the iPod ends
// with every song exactly once in a database that libgpod reads, and the files that the killed runs
// left in the iPod's music folders are what the disconnected-files scan finds.

#include "library/songlists/ADirPodDB.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSongs = 200;
constexpr int kKills = 10;
constexpr auto kPoll = std::chrono::milliseconds(1);
constexpr int kExitedNormally = 0;

// Counts while a child writes: files may come and go under the walk.
size_t CountFilesBelow(const std::string& folder) {
    size_t count = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        count += it->is_regular_file(error) ? 1 : 0;
    return count;
}

class KilledCopy : public LibraryPodFixture {
protected:
    std::string MusicFolders() const { return PodRoot() + "/iPod_Control/Music"; }

    void AddSongs() {
        std::vector<std::string> paths;
        for (int i = 0; i < kSongs; ++i) {
            const std::string title = "Song " + std::to_string(i);
            const std::string artist = "Artist " + std::to_string(i % 7);
            const std::string album = "Album " + std::to_string(i % 13);
            const std::string path = dir.File("songs/" + title + ".mp3");
            WriteSongFile(path, MakeMp3(SongTags("Rock", artist.c_str(), album.c_str(), title.c_str(),
                                                 std::to_string(i % 20 + 1).c_str())));
            paths.push_back(path);
        }
        AddToLibrary(paths);
    }

    // Runs "Copy library to iPod" in a child process, killed once the iPod's music folders hold
    // `filesBeforeKill` more files than before; or let run to its end when `filesBeforeKill` is
    // negative. The child's exit status as waitpid gives it.
    int CopyInChild(int filesBeforeKill) {
        const size_t before = CountFilesBelow(MusicFolders());
        const pid_t child = fork();
        if (child == 0) {
            // The parent's kill may land inside a copy; should a loaded machine let the copies outrun
            // it, the child ends itself between two copies, still before the database is written.
            const CancelCallback killAtThreshold = [&] {
                if (filesBeforeKill >= 0 && CountFilesBelow(MusicFolders()) >= before + static_cast<size_t>(filesBeforeKill))
                    raise(SIGKILL);
                return false;
            };
            auto sync = MakeSync(kDirection1To2, 0);
            _exit(Run(*sync, killAtThreshold) == 0 ? kExitedNormally : 1);
        }
        EXPECT_GT(child, 0);
        int status = 0;
        if (filesBeforeKill >= 0) {
            while (waitpid(child, &status, WNOHANG) == 0) {
                if (CountFilesBelow(MusicFolders()) >= before + static_cast<size_t>(filesBeforeKill)) {
                    kill(child, SIGKILL);
                    break;
                }
                std::this_thread::sleep_for(kPoll);
            }
        }
        waitpid(child, &status, 0);
        return status;
    }
};

} // namespace

TEST_F(KilledCopy, EveryRunAfterAKillLeavesEachSongOnceAndTheScanFindsWhatKilledRunsLeft) {
    AddSongs();
    std::mt19937 random(20261210);
    // Each kill falls among the copies, before the database is written: every killed run leaves files.
    std::uniform_int_distribution<int> files(1, kSongs - 1);
    for (int i = 0; i < kKills; ++i)
        ASSERT_TRUE(WIFSIGNALED(CopyInChild(files(random)))) << "run " << i;
    const int status = CopyInChild(-1);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitedNormally);

    const auto tracks = TracksOnPod();
    ASSERT_EQ(tracks.size(), static_cast<size_t>(kSongs));
    std::set<std::string> named;
    for (int i = 0; i < kSongs; ++i)
        EXPECT_EQ(tracks.count("Song " + std::to_string(i)), 1U) << i;
    for (const auto& [title, file] : tracks) {
        EXPECT_TRUE(fs::is_regular_file(PodRoot() + file)) << title;
        named.insert(file);
    }
    std::map<std::string, std::string> gpod;
    if (ReadPodWithGpod(PodRoot(), gpod)) {
        EXPECT_EQ(gpod.size(), static_cast<size_t>(kSongs));
        for (const auto& [title, file] : gpod)
            EXPECT_TRUE(fs::is_regular_file(file)) << title;
    }

    std::set<std::string> leftBehind;
    for (const std::string& file : FilesInPodMusic()) {
        if (!named.contains(file))
            leftBehind.insert(PodRoot() + file);
    }
    ADirPodDB pod;
    const AString root(PodRoot().c_str());
    ASSERT_EQ(pod.Open(&root, 0, CancelCallback()), 0);
    toolPresenter.QueueAnswers({!leftBehind.empty()});
    ASSERT_EQ(pod.ScanDisconnectedFiles(0, CancelCallback(), 1), 0) << progress.PendingLog().ToUtf8();
    std::set<std::string> found;
    for (const auto& list : toolPresenter.Shown()) {
        for (const SongToolAction& row : list.rows)
            found.insert(row.entry.ToUtf8());
    }
    EXPECT_EQ(found, leftBehind);
    EXPECT_EQ(FilesInPodMusic(), named);
}
