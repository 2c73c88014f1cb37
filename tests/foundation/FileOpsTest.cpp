#include "foundation/FileOps.h"

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "platform/files/NativeFiles.h"
#include "support/FileNameCases.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

TEST(FileOps, TimesMatchWithinAMinuteOrAnHourApart) {
    const struct {
        uint64_t difference;
        bool match;
    } cases[] = {{0, true},    {60, true},   {61, false},  {3539, false},
                 {3540, true}, {3600, true}, {3660, true}, {3661, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(TimesMatch(100000, 100000 + c.difference), c.match) << c.difference;
        EXPECT_EQ(TimesMatch(100000 + c.difference, 100000), c.match) << c.difference;
    }
}

TEST(FileOps, RemotePathsNeedAQuestionMarkAndMore) {
    EXPECT_TRUE(IsRemotePath(AString("?host:/x")));
    EXPECT_FALSE(IsRemotePath(AString("?")));
    EXPECT_FALSE(IsRemotePath(AString("/x?y")));
}

TEST(FileOps, FileInformationOfFilesFoldersAndHiddenFiles) {
    TempDir dir;
    WriteText(dir.File("song.mp3"), "12345");
    WriteText(dir.File(".hidden"), "1");
    ASSERT_EQ(SetFileModTime(dir.Text("song.mp3"), UnixToMacTime(1700000000), false), 0);
    FileInfo info;
    GetFileInfo(dir.Text("song.mp3"), info);
    EXPECT_EQ(info.exists, 1u);
    EXPECT_EQ(info.isDirectory, 0u);
    EXPECT_EQ(info.notHidden, 1u);
    EXPECT_EQ(info.size, 5u);
    EXPECT_EQ(info.modTime, 1700000000u + 2082830400u);
    GetFileInfo(dir.Text(".hidden"), info);
    EXPECT_EQ(info.notHidden, 0u);
    GetFileInfo(AString(dir.Path()), info);
    EXPECT_EQ(info.isDirectory, 1u);
    EXPECT_EQ(info.size, 0u);
    GetFileInfo(dir.Text("missing"), info);
    EXPECT_EQ(info.exists, 0u);
    EXPECT_TRUE(FileExists(dir.Text("song.mp3")));
    EXPECT_FALSE(FileExists(AString(dir.Path())));
    EXPECT_TRUE(DirectoryExists(AString(dir.Path())));
    EXPECT_EQ(GetFileSize64(dir.Text("missing")), 0u);
}

TEST(FileOps, CreateDirectoryPathMakesEveryLevel) {
    TempDir dir;
    EXPECT_EQ(CreateDirectoryPath(AString(dir.File("a//b/c/"))), 0);
    EXPECT_TRUE(DirectoryExists(dir.Text("a/b/c")));
    WriteText(dir.File("file"), "x");
    EXPECT_EQ(CreateDirectoryPath(AString(dir.File("file/sub"))), kErrorCreateDirectory);
}

TEST(FileOps, DeleteRespectsReadOnlyUnlessForced) {
    TempDir dir;
    WriteText(dir.File("ro"), "x");
    ASSERT_EQ(SetReadOnly(dir.Text("ro"), true), 0);
    EXPECT_EQ(DeleteFileLong(dir.Text("ro"), false), kErrorDelete);
    EXPECT_TRUE(FileExists(dir.Text("ro")));
    EXPECT_EQ(DeleteFileLong(dir.Text("ro"), true), 0);
    EXPECT_FALSE(FileExists(dir.Text("ro")));
    EXPECT_EQ(DeleteFileLong(dir.Text("ro"), true), kErrorDelete);
}

TEST(FileOps, MoveNeverOverwritesAnExistingTarget) {
    TempDir dir;
    WriteText(dir.File("a"), "first");
    WriteText(dir.File("b"), "second");
    EXPECT_EQ(MoveFileLong(dir.Text("a"), dir.Text("b"), true), kErrorMove);
    EXPECT_EQ(ReadBytes(dir.File("b")).size(), 6u);
    EXPECT_EQ(MoveFileLong(dir.Text("a"), dir.Text("c"), false), 0);
    EXPECT_FALSE(FileExists(dir.Text("a")));
    EXPECT_EQ(ReadBytes(dir.File("c")).size(), 5u);
}

TEST(FileOps, MoveAcrossFilesystemsCopiesThenDeletes) {
    TempDir here;
    if (!nativefiles::GetStatus("/dev/shm").isDirectory)
        GTEST_SKIP() << "no second filesystem";
    const TempDir there("/dev/shm");
    const std::string other = there.File("song");
    WriteText(here.File("song"), "music");
    ASSERT_EQ(SetFileModTime(here.Text("song"), UnixToMacTime(1600000000), false), 0);
    ASSERT_EQ(MoveFileLong(here.Text("song"), AString(other), false), 0);
    EXPECT_FALSE(FileExists(here.Text("song")));
    EXPECT_EQ(GetFileModTime(AString(other)), UnixToMacTime(1600000000));
    nativefiles::RemoveFile(other);

    // A read-only source can only be deleted with force; without it the move leaves no copy behind.
    WriteText(here.File("locked"), "music");
    ASSERT_EQ(SetReadOnly(here.Text("locked"), true), 0);
    EXPECT_EQ(MoveFileLong(here.Text("locked"), AString(other), false), kErrorMove);
    EXPECT_TRUE(FileExists(here.Text("locked")));
    EXPECT_FALSE(nativefiles::GetStatus(other).exists);
    ASSERT_EQ(MoveFileLong(here.Text("locked"), AString(other), true), 0);
    EXPECT_FALSE(FileExists(here.Text("locked")));
    EXPECT_TRUE(IsReadOnly(AString(other)));
    nativefiles::RemoveFile(other);
}

TEST(FileOps, CopyKeepsTimesAndReplacesOnlyWhenWhole) {
    TempDir dir;
    WriteText(dir.File("src"), "new music");
    ASSERT_EQ(SetFileModTime(dir.Text("src"), UnixToMacTime(1500000000), false), 0);
    WriteText(dir.File("dst"), "old");
    ASSERT_EQ(SetReadOnly(dir.Text("dst"), true), 0);
    EXPECT_EQ(CopyFileLong(dir.Text("src"), dir.Text("dst"), false), kErrorCopy);
    EXPECT_EQ(ReadBytes(dir.File("dst")).size(), 3u);
    EXPECT_EQ(CopyFileChecked(dir.Text("src"), dir.Text("dst"), true), 0);
    EXPECT_EQ(ReadBytes(dir.File("dst")).size(), 9u);
    EXPECT_EQ(GetFileModTime(dir.Text("dst")), UnixToMacTime(1500000000));
    EXPECT_TRUE(FilesMatch(dir.Text("src"), dir.Text("dst")));
    EXPECT_EQ(CopyFileLong(dir.Text("missing"), dir.Text("dst"), true), kErrorCopy);
    EXPECT_EQ(ReadBytes(dir.File("dst")).size(), 9u);
}

TEST(FileOps, CopyOntoTheSameFileIsRecognisedByIdentity) {
    TempDir dir;
    WriteText(dir.File("song"), "music");
    ASSERT_EQ(symlink(dir.File("song").c_str(), dir.File("link").c_str()), 0);
    EXPECT_EQ(CopyFileLong(dir.Text("song"), dir.Text("link"), false), 0);
    EXPECT_EQ(ReadBytes(dir.File("song")).size(), 5u);
}

TEST(FileOps, SetModTimeOfReadOnlyFileNeedsForce) {
    TempDir dir;
    WriteText(dir.File("ro"), "x");
    ASSERT_EQ(SetReadOnly(dir.Text("ro"), true), 0);
    EXPECT_EQ(SetFileModTime(dir.Text("ro"), UnixToMacTime(1000), false), kErrorModTimeOpen);
    EXPECT_EQ(SetFileModTime(dir.Text("ro"), UnixToMacTime(1000), true), 0);
    EXPECT_EQ(GetFileModTime(dir.Text("ro")), UnixToMacTime(1000));
    EXPECT_TRUE(IsReadOnly(dir.Text("ro")));
    EXPECT_EQ(SetFileModTime(dir.Text("missing"), 1, true), kErrorModTimeNoAttributes);
    EXPECT_EQ(SetFileModTime(AString(dir.Path()), UnixToMacTime(1000), true), kErrorModTimeOpen);
    EXPECT_EQ(SetFileModTime(dir.Text("ro"), UINT64_MAX, true), kErrorModTimeConvert);
    EXPECT_EQ(GetFileModTime(dir.Text("ro")), UnixToMacTime(1000));
}

TEST(FileOps, FileInfoRecordIsFourWordsThenSizeAndTime) {
    FileInfo info;
    info.exists = 1;
    info.notHidden = 1;
    info.size = 0x0102030405;
    info.modTime = 0xCAFEBABE;
    AMemFile stream;
    ASSERT_EQ(info.Serialize(stream), 0);
    const std::vector<uint8_t> expected = {1, 0, 0, 0, 0, 0, 0, 0, 1,    0,    0,    0,    0, 0, 0, 0,
                                           5, 4, 3, 2, 1, 0, 0, 0, 0xBE, 0xBA, 0xFE, 0xCA, 0, 0, 0, 0};
    ASSERT_EQ(std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize()), expected);
    FileInfo loaded;
    AMemFile reader(expected.data(), static_cast<uint32_t>(expected.size()));
    ASSERT_EQ(loaded.Load(reader), 0);
    EXPECT_EQ(loaded.size, info.size);
    EXPECT_EQ(loaded.modTime, info.modTime);
    FileInfo untouched;
    AMemFile cut(expected.data(), 31);
    EXPECT_EQ(untouched.Load(cut), kErrorEndOfStream);
    EXPECT_EQ(untouched.exists, 0u) << "a cut record changes nothing";
}

TEST(FileOps, FreeSpaceOfAPathNotYetMadeIsThatOfItsFolder) {
    TempDir dir;
    uint64_t bytes = 0;
    EXPECT_EQ(GetFreeSpace(AString(dir.File("not/yet/there.mp3")), bytes), 0);
    EXPECT_GT(bytes, 0u);
}

// The copy is written beside the old target, which stays until the copy is whole.
TEST(FileOps, ACopyNeedsRoomForTheWholeNewFile) {
    TempDir dir;
    uint64_t freeBytes = 0;
    ASSERT_EQ(GetFreeSpace(AString(dir.Path()), freeBytes), 0);
    // Sparse files larger than the free space, so that nothing is really copied.
    const uint64_t huge = freeBytes + (uint64_t(1) << 30);
    WriteText(dir.File("huge"), "");
    WriteText(dir.File("larger"), "");
    if (truncate(dir.File("huge").c_str(), static_cast<off_t>(huge)) != 0 ||
        truncate(dir.File("larger").c_str(), static_cast<off_t>(huge + 1)) != 0)
        GTEST_SKIP() << "the filesystem cannot hold so large a sparse file";
    EXPECT_EQ(CopyFileChecked(dir.Text("huge"), dir.Text("copy"), false), kErrorNoSpace);
    EXPECT_FALSE(FileExists(dir.Text("copy")));
    EXPECT_EQ(CheckRoomForCopy(dir.Text("huge"), dir.Text("larger")), kErrorNoSpace);
    EXPECT_EQ(nativefiles::GetStatus(dir.File("larger")).size, huge + 1);
}

TEST(FileOps, ACopyFirstClearsWhatKilledCopiesOfItsTargetLeft) {
    TempDir dir;
    WriteText(dir.File("song.mp3"), "new");
    WriteText(dir.File("old.mp3"), "old");
    WriteText(dir.File(".old.mp3.partAAAAAA"), "a copy that was killed");
    EXPECT_EQ(CopyFileChecked(dir.Text("song.mp3"), dir.Text("old.mp3"), false), 0);
    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(dir.Path(), entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "old.mp3");
}

// File names are bytes: a name that is no valid UTF-8 must still name its own file in every operation.
TEST(FileOps, NamesThatAreNoUtf8NameTheirOwnFiles) {
    for (const FileNameCase& c : NamesOfEveryKind()) {
        TempDir dir;
        WriteText(dir.File(c.name + ".mp3"), "music");
        const AString song = AString::FromSystem8Bit(dir.File(c.name + ".mp3"));
        EXPECT_TRUE(FileExists(song)) << c.what;
        EXPECT_EQ(GetFileSize64(song), 5u) << c.what;

        const AString copy = AString::FromSystem8Bit(dir.File(c.name + " copy.mp3"));
        EXPECT_EQ(CopyFileChecked(song, copy, false), 0) << c.what;
        EXPECT_EQ(ReadBytes(dir.File(c.name + " copy.mp3")).size(), 5u) << c.what;
        const AString moved = AString::FromSystem8Bit(dir.File(c.name + " moved.mp3"));
        EXPECT_EQ(MoveFileLong(copy, moved, false), 0) << c.what;
        EXPECT_TRUE(nativefiles::GetStatus(dir.File(c.name + " moved.mp3")).exists) << c.what;
        EXPECT_EQ(DeleteFileLong(moved, false), 0) << c.what;
        EXPECT_FALSE(nativefiles::GetStatus(dir.File(c.name + " moved.mp3")).exists) << c.what;
        EXPECT_TRUE(nativefiles::GetStatus(dir.File(c.name + ".mp3")).exists) << c.what;
    }
}

TEST(FileOps, FilesMatchNeedsTwoFilesOfEqualSize) {
    TempDir dir;
    WriteText(dir.File("a"), "12345");
    WriteText(dir.File("b"), "12345");
    WriteText(dir.File("c"), "1234");
    EXPECT_TRUE(FilesMatch(dir.Text("a"), dir.Text("b")));
    EXPECT_FALSE(FilesMatch(dir.Text("a"), dir.Text("c")));
    EXPECT_FALSE(FilesMatch(dir.Text("a"), AString(dir.Path())));
    EXPECT_FALSE(FilesMatch(dir.Text("a"), dir.Text("missing")));
}
