#include "foundation/CopyWithProgress.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "platform/files/NativeFiles.h"
#include "support/RecordingProgressViews.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void MakeFile(const TempDir& dir, const std::string& name, uint64_t size) {
    AFile file;
    ASSERT_EQ(file.Open(dir.Text(name), AFile::kModeWrite, false), 0);
    ASSERT_EQ(file.Write("head", 4), 0);
    ASSERT_EQ(file.SetLength(size), 0);
    ASSERT_EQ(file.Close(true), 0);
    ASSERT_EQ(SetFileModTime(dir.Text(name), UnixToMacTime(1400000000), false), 0);
}

size_t FilesIn(const TempDir& dir) {
    std::vector<nativefiles::DirectoryEntry> entries;
    nativefiles::ListDirectory(dir.Path(), entries);
    return entries.size();
}

} // namespace

TEST(CopyWithProgress, SmallFilesGoInOneStepWithoutProgress) {
    TempDir dir;
    MakeFile(dir, "song", kChunkedCopyThreshold - 1);
    AProgress progress;
    RecordingStatusView status;
    progress.SetStatus(&status);
    EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text("copy"), nullptr, &progress, false), 0);
    EXPECT_TRUE(status.positions.empty());
    EXPECT_EQ(GetFileSize64(dir.Text("copy")), kChunkedCopyThreshold - 1);
    EXPECT_EQ(GetFileModTime(dir.Text("copy")), UnixToMacTime(1400000000));
}

// A new file may wait for the volume's flush; one over an existing file is synced all the same. Both
// are whole, keep the source's time and leave no temporary file.
TEST(CopyWithProgress, CopiesLeftToTheVolumeFlushAreWholeAndInPlace) {
    TempDir dir;
    MakeFile(dir, "song", 70000);
    WriteText(dir.File("old"), std::string(20000, 'o'));
    AProgress progress;
    RecordingStatusView status;
    progress.SetStatus(&status);
    for (const char* target : {"new", "old"}) {
        EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text(target), nullptr, &progress, false,
                                   CopyDurability::AtVolumeFlush),
                  0);
        EXPECT_EQ(ReadBytes(dir.File(target)), ReadBytes(dir.File("song"))) << target;
        EXPECT_EQ(GetFileModTime(dir.Text(target)), UnixToMacTime(1400000000)) << target;
    }
    EXPECT_TRUE(status.positions.empty());
    EXPECT_EQ(FilesIn(dir), 3u);
    EXPECT_EQ(FlushVolume(dir.Text("new")), 0);
    EXPECT_EQ(FlushVolume(dir.Text("missing")), kErrorWrite);
}

TEST(CopyWithProgress, LargeFilesGoInChunksWithAPositionEach) {
    TempDir dir;
    MakeFile(dir, "song", kChunkedCopyThreshold + 40960);
    WriteText(dir.File("copy"), std::string(20000, 'o')); // an existing target, replaced whole
    AProgress progress;
    RecordingStatusView status;
    progress.SetStatus(&status);
    progress.Start();
    status.positions.clear();
    EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text("copy"), nullptr, &progress, false), 0);
    // The range's start, 11 chunks (10 whole and one of 40960 bytes), then the range's end.
    const double size = kChunkedCopyThreshold + 40960;
    ASSERT_EQ(status.positions.size(), 13u);
    EXPECT_DOUBLE_EQ(status.positions[1], kCopyChunkSize / size);
    EXPECT_DOUBLE_EQ(status.positions[10], 10 * kCopyChunkSize / size);
    EXPECT_DOUBLE_EQ(status.positions[11], 1.0);
    EXPECT_EQ(ReadBytes(dir.File("copy")), ReadBytes(dir.File("song")));
    EXPECT_EQ(GetFileModTime(dir.Text("copy")), UnixToMacTime(1400000000));
}

TEST(CopyWithProgress, CancelLeavesAnExistingTargetAndNoPartialFile) {
    TempDir dir;
    MakeFile(dir, "song", kChunkedCopyThreshold + 5);
    WriteText(dir.File("copy"), "the user's old file");
    EXPECT_EQ(CopyWithProgress(
                  dir.Text("song"), dir.Text("copy"), [] { return 1; }, nullptr, false),
              kUserCancel);
    EXPECT_EQ(ReadBytes(dir.File("copy")).size(), 19u);
    EXPECT_EQ(CopyWithProgress(
                  dir.Text("song"), dir.Text("new"), [] { return 1; }, nullptr, false),
              kUserCancel);
    EXPECT_FALSE(FileExists(dir.Text("new")));
    EXPECT_EQ(FilesIn(dir), 2u);
}

TEST(CopyWithProgress, CancelAfterSomeChunksStops) {
    TempDir dir;
    MakeFile(dir, "song", 3 * kChunkedCopyThreshold);
    int asked = 0;
    EXPECT_EQ(CopyWithProgress(
                  dir.Text("song"), dir.Text("copy"), [&asked] { return ++asked > 5; }, nullptr, false),
              kUserCancel);
    EXPECT_EQ(asked, 6);
    EXPECT_FALSE(FileExists(dir.Text("copy")));
}

TEST(CopyWithProgress, ReadOnlyTargetNeedsForceAndMissingSourceFails) {
    TempDir dir;
    MakeFile(dir, "song", kChunkedCopyThreshold);
    WriteText(dir.File("copy"), "old");
    ASSERT_EQ(SetReadOnly(dir.Text("copy"), true), 0);
    EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text("copy"), nullptr, nullptr, false), kErrorOpen);
    EXPECT_EQ(ReadBytes(dir.File("copy")).size(), 3u);
    EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text("copy"), nullptr, nullptr, true), 0);
    EXPECT_EQ(GetFileSize64(dir.Text("copy")), kChunkedCopyThreshold);
    EXPECT_EQ(CopyWithProgress(dir.Text("missing"), dir.Text("other"), nullptr, nullptr, true), kErrorCopy);
    EXPECT_FALSE(FileExists(dir.Text("other")));
}

TEST(CopyWithProgress, ASourceThatChangesDuringTheCopyIsCaught) {
    TempDir dir;
    MakeFile(dir, "song", kChunkedCopyThreshold);
    WriteText(dir.File("copy"), "old");
    // Asked before each chunk: the source is cut short before the second one.
    int asked = 0;
    const auto cutSource = [&] {
        if (++asked == 2)
            truncate(dir.File("song").c_str(), 1000);
        return 0;
    };
    EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text("copy"), cutSource, nullptr, false), kErrorEndOfStream);
    EXPECT_EQ(ReadBytes(dir.File("copy")).size(), 3u);
    EXPECT_EQ(FilesIn(dir), 2u);

    // A source that grows is copied as it was when the copy began, which then does not match it.
    MakeFile(dir, "song", kChunkedCopyThreshold);
    asked = 0;
    const auto growSource = [&] {
        if (++asked == 2)
            truncate(dir.File("song").c_str(), kChunkedCopyThreshold + 1);
        return 0;
    };
    EXPECT_EQ(CopyWithProgress(dir.Text("song"), dir.Text("copy"), growSource, nullptr, false),
              kErrorUnableToVerify);
}
