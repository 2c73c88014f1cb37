#include "platform/files/ReplacementFile.h"

#include "platform/files/NativeFiles.h"
#include "support/DiskSyncProbe.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
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
