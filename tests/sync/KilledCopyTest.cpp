// A copy of the library to the iPod killed and run again, in a child process each time: the database is
// saved after every batch of copies, so a kill leaves at most one batch of copied files that no track
// names; the run after the kills ends with every song exactly once in a database that libgpod reads, no
// temporary file anywhere, and the files the killed runs left are what the disconnected-files scan
// finds.

#include "library/songlists/ADirPodDB.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSongs = 200;
constexpr int kKills = 8;
constexpr auto kPoll = std::chrono::milliseconds(1);
constexpr int kChildFailed = 1;

// How a child ended, in words: its signal, or its exit status with the sync's result and log.
struct ChildEnd {
    int status = 0;
    std::string report;

    bool Killed() const { return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL; }
    bool Finished() const { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
    std::string Describe() const {
        std::ostringstream text;
        if (WIFSIGNALED(status))
            text << "ended by signal " << WTERMSIG(status) << " (" << strsignal(WTERMSIG(status)) << ")";
        else if (WIFEXITED(status))
            text << "exited with status " << WEXITSTATUS(status);
        else
            text << "ended with wait status " << status;
        if (!report.empty())
            text << "; it reported: " << report;
        return text.str();
    }
};

// Our own temporary files: "." + the target's name + ".part" + six letters or digits.
bool IsTemporary(const fs::path& file) {
    static const std::regex pattern(R"(\..+\.part[A-Za-z0-9]{6})");
    return std::regex_match(file.filename().string(), pattern);
}

// Counts while a child writes: files may come and go under the walk.
size_t CountSongFilesBelow(const std::string& folder) {
    size_t count = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        count += it->is_regular_file(error) && !IsTemporary(it->path()) ? 1 : 0;
    return count;
}

class KilledCopy : public LibraryPodFixture {
protected:
    std::string MusicFolders() const { return PodRoot() + "/iPod_Control/Music"; }
    std::string ReportFile() const { return dir.File("child-report.txt"); }

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

    // Runs "Copy library to iPod" in a child process. With `ownKillAfter` the child kills itself once it
    // has copied that many songs, at the check between two actions, where it always gets; with
    // `killAfter` the parent kills it once it sees that many new song files, wherever the child stands
    // then (inside the next copy, mostly). A child that ends on its own writes its sync's result and log
    // for the report.
    ChildEnd CopyInChild(int ownKillAfter, int killAfter) {
        fs::remove(ReportFile());
        const size_t before = CountSongFilesBelow(MusicFolders());
        const pid_t child = fork();
        if (child == 0) {
            // Asked while the lists are built and decided too: the files are counted only once the
            // action list was shown, when copies begin.
            const CancelCallback killItself = [&] {
                if (ownKillAfter > 0 && !shown.empty() &&
                    CountSongFilesBelow(MusicFolders()) >= before + static_cast<size_t>(ownKillAfter))
                    raise(SIGKILL);
                return false;
            };
            auto sync = MakeSync(kDirection1To2, 0);
            const int result = Run(*sync, killItself);
            std::ofstream(ReportFile())
                << "sync result " << result << ", log: " << progress.PendingLog().ToUtf8();
            _exit(result == 0 ? 0 : kChildFailed);
        }
        EXPECT_GT(child, 0);
        ChildEnd end;
        if (killAfter > 0) {
            while (waitpid(child, &end.status, WNOHANG) == 0) {
                if (CountSongFilesBelow(MusicFolders()) >= before + static_cast<size_t>(killAfter)) {
                    kill(child, SIGKILL);
                    break;
                }
                std::this_thread::sleep_for(kPoll);
            }
        }
        waitpid(child, &end.status, 0);
        std::ifstream report(ReportFile());
        end.report.assign(std::istreambuf_iterator<char>(report), std::istreambuf_iterator<char>());
        return end;
    }

    // Song files in the music folders that no track names.
    size_t Orphans() {
        size_t named = TracksOnPod().size();
        size_t files = CountSongFilesBelow(MusicFolders());
        return files - named;
    }

    int SongsLeftToCopy() { return kSongs - static_cast<int>(TracksOnPod().size()); }

    std::vector<std::string> TemporariesBelow(const std::string& folder) const {
        std::vector<std::string> found;
        for (const auto& item : fs::recursive_directory_iterator(folder)) {
            if (IsTemporary(item.path()))
                found.push_back(item.path().string());
        }
        return found;
    }

    // The last run: every song once, named by a track whose file is there, and libgpod reads them all.
    std::set<std::string> ExpectEverySongOnce() {
        const auto tracks = TracksOnPod();
        EXPECT_EQ(tracks.size(), static_cast<size_t>(kSongs));
        for (int i = 0; i < kSongs; ++i)
            EXPECT_EQ(tracks.count("Song " + std::to_string(i)), 1U) << i;
        std::set<std::string> named;
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
        return named;
    }
};

} // namespace

TEST_F(KilledCopy, EveryRunAfterAKillLeavesEachSongOnceAndTheScanFindsWhatKilledRunsLeft) {
    AddSongs();
    std::mt19937 random(20261210);
    // Each kill falls among the copies the run has left, before the run's last database save.
    for (int i = 0; i < kKills && SongsLeftToCopy() > 1; ++i) {
        const int copies = std::uniform_int_distribution<int>(1, SongsLeftToCopy() - 1)(random);
        const size_t orphansBefore = Orphans();
        const ChildEnd end = CopyInChild(copies, 0);
        ASSERT_TRUE(end.Killed()) << "run " << i << " to be killed after " << copies << " copies "
                                  << end.Describe();
        EXPECT_LE(Orphans() - orphansBefore, static_cast<size_t>(ADirPodDB::kSaveBatchSongs)) << "run " << i;
    }
    const ChildEnd last = CopyInChild(0, 0);
    ASSERT_TRUE(last.Finished()) << last.Describe();
    const std::set<std::string> named = ExpectEverySongOnce();

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

// Killed wherever it stands, inside a copy too; a run that ends before its kill is a run like any other.
TEST_F(KilledCopy, KilledAtRandomMomentsEachRunOrphansAtMostOneBatchAndTheLastLeavesNoTemporary) {
    AddSongs();
    std::mt19937 random(20261211);
    int killed = 0;
    for (int i = 0; i < kKills && SongsLeftToCopy() > 0; ++i) {
        const int seen = std::uniform_int_distribution<int>(1, SongsLeftToCopy())(random);
        const size_t orphansBefore = Orphans();
        const ChildEnd end = CopyInChild(0, seen);
        ASSERT_TRUE(end.Killed() || end.Finished()) << "run " << i << " " << end.Describe();
        killed += end.Killed() ? 1 : 0;
        EXPECT_LE(Orphans() - orphansBefore, static_cast<size_t>(ADirPodDB::kSaveBatchSongs))
            << "run " << i << " " << end.Describe();
    }
    EXPECT_GT(killed, 0);
    const ChildEnd last = CopyInChild(0, 0);
    ASSERT_TRUE(last.Finished()) << last.Describe();
    ExpectEverySongOnce();
    EXPECT_LE(Orphans(), static_cast<size_t>(killed * ADirPodDB::kSaveBatchSongs));
    // Left by the copy a kill cut short; the next write of that song in its folder sweeps it.
    EXPECT_EQ(TemporariesBelow(PodRoot()), std::vector<std::string>());
    EXPECT_EQ(TemporariesBelow(dir.Path()), std::vector<std::string>());
}
