#include "platform/files/ReplacementFile.h"

#include "platform/files/NativeFiles.h"
#include "support/DiskSyncProbe.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using nativefiles::ReplacementFile;

namespace {

bool Exists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

std::string TextOf(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

bool WriteAll(nativefiles::FileDescriptor& file, const std::string& text) {
    return write(file.Get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// Another process that starts writing a new version of `target` and holds its temporary file
// until it is killed.
class WriterProcess {
public:
    explicit WriterProcess(const std::string& target) {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(ready[0]);
            std::string path;
            const nativefiles::FileDescriptor file = nativefiles::CreateTemporaryBeside(target, path);
            (void)!write(ready[1], path.data(), path.size());
            close(ready[1]);
            for (;;)
                pause();
        }
        close(ready[1]);
        char buffer[4096];
        const ssize_t got = m_pid > 0 ? read(ready[0], buffer, sizeof buffer) : 0;
        close(ready[0]);
        m_temporary.assign(buffer, got > 0 ? static_cast<size_t>(got) : 0);
    }
    ~WriterProcess() { Kill(); }

    const std::string& Temporary() const { return m_temporary; }
    void Kill() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    std::string m_temporary;
};

// The two roads that replace a file: a writer's new version, and a copy of another file.
struct ReplacingRoad {
    const char* name;
    std::function<bool(const TempDir& dir, const std::string& target)> replace;
};

const ReplacingRoad kRoads[] = {
    {"new version",
     [](const TempDir&, const std::string& target) {
         ReplacementFile replacement;
         return replacement.Begin(target) && WriteAll(replacement.File(), "new") && replacement.PutInPlace(3);
     }},
    {"copy",
     [](const TempDir& dir, const std::string& target) {
         WriteText(dir.File("source"), "new");
         chmod(dir.File("source").c_str(), 0604);
         return nativefiles::CopyFileReplacing(dir.File("source"), target, {}) == nativefiles::CopyOutcome::Copied;
     }},
};

size_t CountEntries(const std::string& folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

struct stat StatusOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info;
}

} // namespace

TEST(ReplacementFile, TemporariesOfAKilledWriterGoWhenTheTargetIsNextReplaced) {
    TempDir dir;
    const std::string target = dir.File("song.mp3");
    WriteText(target, "old");
    WriterProcess writer(target);
    ASSERT_FALSE(writer.Temporary().empty());
    ASSERT_TRUE(Exists(writer.Temporary()));

    nativefiles::RemoveStaleTemporaries(target);
    EXPECT_TRUE(Exists(writer.Temporary())) << "its writer still runs";
    writer.Kill();
    nativefiles::RemoveStaleTemporaries(target);
    EXPECT_FALSE(Exists(writer.Temporary()));
    EXPECT_EQ(TextOf(target), "old");
}

TEST(ReplacementFile, OnlyUnclaimedFilesNamedAsTemporariesGo) {
    TempDir dir;
    const std::string target = dir.File("song.mp3");
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {".song.mp3.partA1b2C3", true}, // left by a writer that held no lock
        {".other.mp3.partAAAAAA", true},
        {".song.mp3.partAAAAAAA", false},
        {"..partAAAAAA", false},
        {".song.mp3.part.AAAAA", false},
        {".partAAAAAA", false},
        {"other.mp3.partAAAAAA", false},
        {"song.mp3", false},
        {".song.mp3", false},
    };
    for (const auto& c : cases)
        WriteText(dir.File(c.name), "half");
    std::filesystem::create_directory(dir.File(".song.mp3.partFOLDER"));
    ASSERT_EQ(symlink(target.c_str(), dir.File(".song.mp3.partLINKED").c_str()), 0);
    ReplacementFile inUse;
    ASSERT_TRUE(inUse.Begin(target));
    ASSERT_TRUE(inUse.File().Close()) << "a closed write descriptor leaves the file claimed";

    ReplacementFile next;
    ASSERT_TRUE(next.Begin(target));
    for (const auto& c : cases)
        EXPECT_EQ(Exists(dir.File(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(Exists(dir.File(".song.mp3.partFOLDER")));
    EXPECT_TRUE(Exists(dir.File(".song.mp3.partLINKED")));
    EXPECT_TRUE(Exists(inUse.TemporaryPath()));
    EXPECT_TRUE(Exists(next.TemporaryPath()));
}

// What a sync killed while it copied leaves: song lists never see it, and the next write into the
// folder, of whichever file, clears it away; a copy that another process is still writing stays.
TEST(ReplacementFile, TemporariesAreNotListedAndTheNextWriteIntoTheirFolderClearsTheStaleOnes) {
    TempDir dir;
    WriteText(dir.File("a.mp3"), "a");
    WriteText(dir.File("b.mp3"), "b");
    WriterProcess killed(dir.File("a.mp3"));
    WriterProcess live(dir.File("b.mp3"));
    ASSERT_FALSE(killed.Temporary().empty());
    ASSERT_FALSE(live.Temporary().empty());
    killed.Kill();

    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(dir.Path(), entries));
    EXPECT_EQ(entries.size(), 4u);
    ASSERT_TRUE(nativefiles::ListDirectory(dir.Path(), entries, nativefiles::Listing::WithoutTemporaries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a.mp3");
    EXPECT_EQ(entries[1].name, "b.mp3");

    ReplacementFile other;
    ASSERT_TRUE(other.Begin(dir.File("c.mp3")));
    EXPECT_FALSE(Exists(killed.Temporary()));
    EXPECT_TRUE(Exists(live.Temporary())) << "its writer still runs";
}

TEST(ReplacementFile, TakesThePlaceOfTheTargetOnlyWhenWhole) {
    TempDir dir;
    const std::string target = dir.File("list.xml");
    WriteText(target, "old");
    {
        ReplacementFile replacement;
        ASSERT_TRUE(replacement.Begin(target));
        ASSERT_TRUE(WriteAll(replacement.File(), "new"));
        EXPECT_FALSE(replacement.PutInPlace(4)) << "a length other than what was meant to be written";
        EXPECT_FALSE(replacement.IsPlaced());
    }
    EXPECT_EQ(TextOf(target), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "nothing is left over";

    ReplacementFile replacement;
    ASSERT_TRUE(replacement.Begin(target));
    ASSERT_TRUE(WriteAll(replacement.File(), "new"));
    ASSERT_TRUE(replacement.File().Close());
    EXPECT_TRUE(replacement.PutInPlace(3));
    EXPECT_EQ(TextOf(target), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(ReplacementFile, AFailedFlushOfTheFolderIsReported) {
    TempDir dir;
    const std::string target = dir.File("list.xml");
    ReplacementFile replacement;
    ASSERT_TRUE(replacement.Begin(target));
    ASSERT_TRUE(WriteAll(replacement.File(), "new"));
    DiskSyncProbe probe;
    probe.FailFolderFlushes();
    EXPECT_FALSE(replacement.PutInPlace(3));
    EXPECT_TRUE(replacement.IsPlaced()) << "the rename was done; only its flush failed";
    EXPECT_GE(probe.FileFlushes(), 1);
    EXPECT_EQ(TextOf(target), "new");
}

TEST(ReplacementFile, ACopyIsFlushedWhetherOrNotItReplacesAFile) {
    TempDir dir;
    WriteText(dir.File("source"), "music");
    for (const char* target : {"new", "existing"}) {
        if (std::string(target) == "existing")
            WriteText(dir.File(target), "old");
        DiskSyncProbe probe;
        ASSERT_EQ(nativefiles::CopyFileReplacing(dir.File("source"), dir.File(target), {}),
                  nativefiles::CopyOutcome::Copied);
        EXPECT_GE(probe.FileFlushes(), 1) << target;
        probe.FailFolderFlushes();
        EXPECT_EQ(nativefiles::CopyFileReplacing(dir.File("source"), dir.File(target), {}),
                  nativefiles::CopyOutcome::WriteFailed)
            << target;
        EXPECT_EQ(TextOf(dir.File(target)), "music");
    }
}

// A song reached through a chain of links, relative ones through a ".." among them: the file at the
// end of the chain gets the new content, and every link stays a link.
TEST(ReplacementFile, ThroughLinksTheFileTheyEndAtIsReplaced) {
    for (const ReplacingRoad& road : kRoads) {
        TempDir dir;
        std::filesystem::create_directories(dir.File("music/real"));
        std::filesystem::create_directories(dir.File("list"));
        WriteText(dir.File("music/real/song.mp3"), "old");
        ASSERT_EQ(symlink("real/song.mp3", dir.File("music/step.mp3").c_str()), 0);
        ASSERT_EQ(symlink("../music/step.mp3", dir.File("list/song.mp3").c_str()), 0);

        ASSERT_TRUE(road.replace(dir, dir.File("list/song.mp3"))) << road.name;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.File("list/song.mp3"))) << road.name;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.File("music/step.mp3"))) << road.name;
        EXPECT_EQ(TextOf(dir.File("music/real/song.mp3")), "new") << road.name;
        EXPECT_EQ(CountEntries(dir.File("music/real")), 1u) << road.name << ": nothing left beside the song";
        EXPECT_EQ(CountEntries(dir.File("list")), 1u) << road.name;
    }
}

TEST(ReplacementFile, ALinkToNothingGetsItsFileAndALinkLoopIsRefused) {
    TempDir dir;
    ASSERT_EQ(symlink("absent.mp3", dir.File("song.mp3").c_str()), 0);
    ReplacementFile replacement;
    ASSERT_TRUE(replacement.Begin(dir.File("song.mp3")));
    ASSERT_TRUE(WriteAll(replacement.File(), "new"));
    ASSERT_TRUE(replacement.PutInPlace(3));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("song.mp3")));
    EXPECT_EQ(TextOf(dir.File("absent.mp3")), "new");

    ASSERT_EQ(symlink("b", dir.File("a").c_str()), 0);
    ASSERT_EQ(symlink("a", dir.File("b").c_str()), 0);
    EXPECT_FALSE(replacement.Begin(dir.File("a")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("a")));
    EXPECT_EQ(CountEntries(dir.Path()), 4u);
}

// A new version keeps the mode of the file it replaces; a copy takes its source's.
TEST(ReplacementFile, TheReplacedFileKeepsItsMode) {
    for (const ReplacingRoad& road : kRoads) {
        TempDir dir;
        WriteText(dir.File("song.mp3"), "old");
        ASSERT_EQ(chmod(dir.File("song.mp3").c_str(), 0640), 0);
        ASSERT_TRUE(road.replace(dir, dir.File("song.mp3"))) << road.name;
        const mode_t expected = std::string(road.name) == "copy" ? 0604 : 0640;
        EXPECT_EQ(StatusOf(dir.File("song.mp3")).st_mode & 07777, expected) << road.name;
    }
}

// In a shared music folder, or in a run as root, a song of another user stays that user's.
TEST(ReplacementFile, TheReplacedFileKeepsItsOwnerAndGroup) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only a privileged test can give a file to another owner";
    constexpr uid_t kOtherOwner = 12345;
    constexpr gid_t kOtherGroup = 23456;
    for (const ReplacingRoad& road : kRoads) {
        TempDir dir;
        WriteText(dir.File("song.mp3"), "old");
        ASSERT_EQ(chown(dir.File("song.mp3").c_str(), kOtherOwner, kOtherGroup), 0);
        ASSERT_TRUE(road.replace(dir, dir.File("song.mp3"))) << road.name;
        const struct stat info = StatusOf(dir.File("song.mp3"));
        EXPECT_EQ(info.st_uid, kOtherOwner) << road.name;
        EXPECT_EQ(info.st_gid, kOtherGroup) << road.name;
    }
}
