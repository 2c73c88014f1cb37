#include "foundation/AFile.h"
#include "foundation/AFileHolder.h"
#include "foundation/AMemFile.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "platform/files/NativeFiles.h"
#include "support/DiskSyncProbe.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(AMemFile, GrowsByItsStepAndKeepsASpareByte) {
    AMemFile stream(5000);
    const char bytes[10] = {};
    EXPECT_EQ(stream.Write(bytes, 10), 0);
    EXPECT_EQ(stream.GetCapacity(), 5010u);
    EXPECT_EQ(stream.GetSize(), 10u);
}

TEST(AMemFile, ReadPastTheEndFailsAndStillMovesThePosition) {
    const uint8_t data[] = {1, 2, 3, 4};
    AMemFile stream(data, sizeof data);
    uint8_t out[3] = {9, 9, 9};
    uint32_t got = 7;
    EXPECT_EQ(stream.Read(out, 3, &got), 0);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(stream.Read(out, 3, &got), kErrorEndOfStream);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(stream.Read(out, 1), kErrorEndOfStream);
    EXPECT_EQ(stream.GetPosition(), 7u);
}

TEST(AMemFile, HugeLengthsNeverWrapOrReachOutside) {
    const uint8_t data[] = {1, 2, 3, 4};
    AMemFile stream(data, sizeof data);
    uint8_t out[4];
    EXPECT_EQ(stream.Read(out, 2), 0);
    const uint8_t* inPlace = nullptr;
    EXPECT_EQ(stream.ReadInPlace(&inPlace, UINT32_MAX), kErrorEndOfStream);
    EXPECT_EQ(inPlace, nullptr);
    EXPECT_EQ(stream.ReadInPlace(&inPlace, UINT32_MAX), kErrorEndOfStream);
    EXPECT_EQ(stream.Read(out, 2), kErrorEndOfStream);
    EXPECT_EQ(stream.BytesRemaining(), 0u);
}

TEST(AMemFile, CallersBufferIsReadOnly) {
    uint8_t data[] = {1, 2, 3};
    AMemFile stream(data, sizeof data);
    const uint8_t more[] = {7};
    EXPECT_EQ(stream.Write(more, 1), kErrorEndOfStream);
    uint8_t* reserved = nullptr;
    EXPECT_EQ(stream.Reserve(&reserved, 1), kErrorEndOfStream);
    EXPECT_EQ(data[0], 1);
}

TEST(AFile, ReadingAMissingFileFailsWithoutCreatingIt) {
    TempDir dir;
    AFile file;
    EXPECT_EQ(file.Open(dir.Text("missing"), AFile::kModeRead, false), kErrorOpen);
    EXPECT_FALSE(FileExists(dir.Text("missing")));
    EXPECT_EQ(file.Open(dir.Text("x"), 4, false), kErrorOpenMode);
}

TEST(AFile, WriteModesCreateButNeverTruncate) {
    TempDir dir;
    WriteText(dir.File("f"), "abcdef");
    AFile file;
    ASSERT_EQ(file.Open(dir.Text("f"), AFile::kModeWrite, false), 0);
    EXPECT_EQ(file.Write("XY", 2), 0);
    EXPECT_EQ(file.Close(true), 0);
    EXPECT_EQ(ReadBytes(dir.File("f")), (std::vector<uint8_t>{'X', 'Y', 'c', 'd', 'e', 'f'}));

    ASSERT_EQ(file.Open(dir.Text("new"), AFile::kModeReadWrite, false), 0);
    EXPECT_EQ(file.Write("12345", 5), 0);
    EXPECT_EQ(file.Seek(1), 0);
    char back[2];
    EXPECT_EQ(file.Read(back, 2), 0);
    EXPECT_EQ(std::string(back, 2), "23");
    EXPECT_EQ(file.Write("z", 1), 0);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.SetLength(2), 0);
    EXPECT_EQ(file.Close(true), 0);
    EXPECT_EQ(ReadBytes(dir.File("new")), (std::vector<uint8_t>{'1', '2'}));
}

TEST(AFile, ShortReadWithoutCountIsAnError) {
    TempDir dir;
    WriteText(dir.File("f"), "abc");
    AFile file;
    ASSERT_EQ(file.Open(dir.Text("f"), AFile::kModeRead, false), 0);
    char buffer[8];
    uint32_t got = 0;
    EXPECT_EQ(file.Read(buffer, 8, &got), 0);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(file.Seek(0), 0);
    EXPECT_EQ(file.Read(buffer, 8), kErrorShortRead);
}

TEST(AFile, CloseWithFlushReportsAWriteThatFailed) {
    if (!nativefiles::GetStatus("/dev/full").exists)
        GTEST_SKIP() << "no /dev/full";
    AFile file;
    ASSERT_EQ(file.Open(AString("/dev/full"), AFile::kModeWrite, false), 0);
    EXPECT_EQ(file.Write("buffered", 8), 0) << "the bytes wait in the buffer";
    EXPECT_EQ(file.Close(true), kErrorWrite);
    EXPECT_FALSE(file.IsOpen());
}

TEST(AFile, ReadOnlyFilesNeedForceAndStayReadOnly) {
    TempDir dir;
    WriteText(dir.File("ro"), "data");
    ASSERT_EQ(SetReadOnly(dir.Text("ro"), true), 0);
    AFile file;
    EXPECT_EQ(file.Open(dir.Text("ro"), AFile::kModeWrite, false), kErrorOpen);
    ASSERT_EQ(file.Open(dir.Text("ro"), AFile::kModeWrite, true), 0);
    EXPECT_FALSE(IsReadOnly(dir.Text("ro")));
    EXPECT_EQ(file.Close(true), 0);
    EXPECT_TRUE(IsReadOnly(dir.Text("ro")));
    {
        AFile forgotten;
        ASSERT_EQ(forgotten.Open(dir.Text("ro"), AFile::kModeReadWrite, true), 0);
    }
    EXPECT_TRUE(IsReadOnly(dir.Text("ro")));
}

TEST(AReplacingFile, OldFileStaysUntilCommit) {
    TempDir dir;
    WriteText(dir.File("db"), "old contents");
    {
        AReplacingFile file;
        ASSERT_EQ(file.Begin(dir.Text("db"), false), 0);
        EXPECT_EQ(file.Write("new", 3), 0);
        EXPECT_EQ(ReadBytes(dir.File("db")).size(), 12u);
    }
    EXPECT_EQ(ReadBytes(dir.File("db")).size(), 12u);
    AReplacingFile file;
    ASSERT_EQ(file.Begin(dir.Text("db"), false), 0);
    EXPECT_EQ(file.Write("new", 3), 0);
    EXPECT_EQ(file.Commit(), 0);
    EXPECT_EQ(ReadBytes(dir.File("db")), (std::vector<uint8_t>{'n', 'e', 'w'}));
    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(dir.Path(), entries));
    EXPECT_EQ(entries.size(), 1u) << "no temporary file is left behind";
}

TEST(AReplacingFile, ReadOnlyTargetNeedsForceAndStaysReadOnly) {
    TempDir dir;
    WriteText(dir.File("db"), "old");
    ASSERT_EQ(SetReadOnly(dir.Text("db"), true), 0);
    AReplacingFile file;
    EXPECT_EQ(file.Begin(dir.Text("db"), false), kErrorOpen);
    ASSERT_EQ(file.Begin(dir.Text("db"), true), 0);
    EXPECT_EQ(file.Write("newer", 5), 0);
    EXPECT_EQ(file.Commit(), 0);
    EXPECT_EQ(ReadBytes(dir.File("db")).size(), 5u);
    EXPECT_TRUE(IsReadOnly(dir.Text("db")));
}

TEST(AReplacingFile, ClearsLeftoversAndReportsAFailedFolderFlush) {
    TempDir dir;
    WriteText(dir.File("db"), "old");
    WriteText(dir.File(".db.partAAAAAA"), "left by a save that was killed");
    AReplacingFile file;
    ASSERT_EQ(file.Begin(dir.Text("db"), false), 0);
    EXPECT_FALSE(nativefiles::GetStatus(dir.File(".db.partAAAAAA")).exists);
    EXPECT_EQ(file.Write("new", 3), 0);
    DiskSyncProbe probe;
    probe.FailFolderFlushes();
    EXPECT_EQ(file.Commit(), kErrorWrite);
    EXPECT_EQ(ReadBytes(dir.File("db")), (std::vector<uint8_t>{'n', 'e', 'w'})) << "renamed, but not flushed";
}

TEST(AFileHolder, ClosesItsFileWithAFlush) {
    TempDir dir;
    WriteText(dir.File("ro"), "old");
    ASSERT_EQ(SetReadOnly(dir.Text("ro"), true), 0);
    {
        AFileHolder holder;
        ASSERT_EQ(holder.File().Open(dir.Text("ro"), AFile::kModeWrite, true), 0);
        EXPECT_EQ(holder.File().Write("new", 3), 0);
    }
    EXPECT_EQ(ReadBytes(dir.File("ro")), (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_TRUE(IsReadOnly(dir.Text("ro")));
}
