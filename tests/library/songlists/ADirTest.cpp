#include "library/songlists/ADir.h"

#include "foundation/AMemFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

std::set<std::string> EntriesOf(ADir& list) {
    std::set<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.insert(list.GetEntry(i)->ToSystem8Bit());
    return names;
}

class RemoteTypedDir : public ADir {
public:
    uint32_t GetType() const override { return kTypeTunesRemote; }
};

class InspectableDir : public ADir {
public:
    using ADir::RemovedFilesBase;
};

} // namespace

TEST(ADirTest, TypeFilterFollowsItsFlags) {
    struct Case {
        uint32_t flags;
        const char* keep;
        const char* drop;
        const char* path;
        bool passes;
    };
    const Case cases[] = {
        {0, ":mp3:", "", "/m/a.wav", true},           {1, ":mp3:m4a:", "", "/m/a.MP3", true},
        {1, ":mp3:m4a:", "", "/m/a.wav", false},      {1, ":mp3:", "", "/m/noextension", false},
        {2, "", ":wav:", "/m/noextension", true},     {2, "", ":wav:", "/m/a.WAV", false},
        {3, ":mp3:wav:", ":wav:", "/m/a.wav", false}, {1, "", "", "/m/a.any", true},
        {1, ":m4:", "", "/m/a.m4a", false},
    };
    for (const Case& c : cases) {
        ADir list;
        list.SetFlags(c.flags);
        list.SetTypeList(AString(c.keep));
        list.SetExcludeTypeList(AString(c.drop));
        EXPECT_EQ(list.PassesTypeFilter(AString(c.path)), c.passes) << c.path << " flags " << c.flags;
    }
}

TEST(ADirTest, NameFilterMatchesFragmentsWithCase) {
    ADir list;
    list.SetNameFilter(1, AString(":Live:Demo"), AString());
    EXPECT_TRUE(list.PassesNameFilter(AString("/m/Live at Home.mp3")));
    EXPECT_FALSE(list.PassesNameFilter(AString("/m/live at home.mp3")));
    EXPECT_FALSE(list.PassesNameFilter(AString("/m/Demo.mp3"))); // the last item lacks its ':'
    list.SetNameFilter(3, AString(":Live:"), AString(":Bootleg:"));
    EXPECT_FALSE(list.PassesNameFilter(AString("/m/Live Bootleg.mp3")));
    list.SetNameFilter(2, AString(), AString(":Bootleg::"));
    EXPECT_TRUE(list.PassesNameFilter(AString("/m/Studio.mp3")));
}

// Where the root lies must not decide: the filter sees the path below it, folder names included.
TEST(ADirTest, NameFilterLooksBelowTheRootOnly) {
    TempDir dir;
    for (const char* name : {"a.mp3", "Alive.mp3", "live/b.mp3"})
        WriteTextFile(dir.File(std::string("olive/Music/") + name), "x");
    const struct {
        uint32_t flags;
        const char* keep;
        const char* drop;
        std::set<std::string> entries;
    } cases[] = {
        {2, "", ":live:", {"a.mp3", "live"}},
        {1, ":olive:", "", {"live"}},
        {1, ":Music:", "", {"live"}},
        {1, ":live/:", "", {"live", "live/b.mp3"}},
    };
    for (const auto& c : cases) {
        ADir list;
        list.SetNameFilter(c.flags, AString(c.keep), AString(c.drop));
        const AString root = dir.Text("olive/Music");
        ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
        EXPECT_EQ(EntriesOf(list), c.entries) << c.keep << c.drop;
        ASSERT_EQ(list.Open(&root, 1, CancelCallback()), 0);
        EXPECT_EQ(list.GetCount(), static_cast<int>(c.entries.size())) << "full paths are filtered alike";
    }
}

TEST(ADirTest, OpenListsFilesThatPassAndFoldersBesideThem) {
    TempDir dir;
    WriteTextFile(dir.File("music/a.txt"), "x"); // fails the type filter, listed first
    WriteTextFile(dir.File("music/b.mp3"), "x");
    std::filesystem::create_directories(dir.File("music/Sub/Deeper"));
    WriteTextFile(dir.File("music/Sub/c.mp3"), "x");
    WriteTextFile(dir.File("music/Sub/Deeper/d.MP3"), "x");
    ADir list;
    list.SetFlags(1);
    list.SetTypeList(AString(":mp3:"));
    const AString root = dir.Text("music/");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    EXPECT_EQ(list.GetRootPath(), root);
    EXPECT_EQ(EntriesOf(list),
              (std::set<std::string>{"b.mp3", "Sub", "Sub/c.mp3", "Sub/Deeper", "Sub/Deeper/d.MP3"}));

    const AString bare = dir.Text("music");
    ASSERT_EQ(list.Open(&bare, 1, CancelCallback()), 0);
    EXPECT_EQ(list.GetRootPath(), root);
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_TRUE(EntriesOf(list).count(dir.File("music/Sub/c.mp3")));
}

// An unreadable root must never read as an empty folder: a "make equal" sync would then delete the
// other side's songs.
TEST(ADirTest, AMissingRootIsAnErrorNotAnEmptyList) {
    TempDir dir;
    WriteTextFile(dir.File("file.mp3"), "x");
    ADir list;
    const AString missing = dir.Text("unplugged");
    EXPECT_EQ(list.Open(&missing, 0, CancelCallback()), kErrorInvalidPath);
    const AString notAFolder = dir.Text("file.mp3");
    EXPECT_EQ(list.Open(&notAFolder, 0, CancelCallback()), kErrorInvalidPath);
    EXPECT_EQ(list.ScanFolder(missing, 1, CancelCallback()), kErrorInvalidPath);
    const AString empty;
    EXPECT_EQ(list.Open(&empty, 0, CancelCallback()), kErrorInvalidPath);
    EXPECT_EQ(list.GetRootPath(), "");
}

TEST(ADirTest, ALinkBackIntoTheTreeIsNotFollowedTwice) {
    TempDir dir;
    WriteTextFile(dir.File("music/a/song.mp3"), "x");
    std::filesystem::create_directory_symlink(dir.File("music"), dir.File("music/a/loop"));
    ADir list;
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    EXPECT_EQ(EntriesOf(list), (std::set<std::string>{"a", "a/loop", "a/song.mp3"}));
}

TEST(ADirTest, CancelStopsTheScan) {
    TempDir dir;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        WriteTextFile(dir.File(std::string("music/") + name), "x");
    ADir list;
    int asked = 0;
    const AString root = dir.Text("music");
    EXPECT_EQ(list.Open(&root, 0, [&asked] { return ++asked == 2 ? 1 : 0; }), kUserCancel);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(ADirTest, RecordRoundTripsAndRefusesAnotherVersion) {
    TempDir dir;
    WriteTextFile(dir.File("music/a.mp3"), "x");
    ADir list;
    list.SetFlags(3);
    list.SetTypeList(AString(":mp3:"));
    list.SetExcludeTypeList(AString(":wav:"));
    list.SetNameFilter(2, AString(":k:"), AString(":d:"));
    list.SetRecordFlag(0);
    list.SetAskOnError(0);
    list.SetKeepRemovedFiles(0);
    list.SetLogTime(0);
    list.SetCopyMode(1);
    list.SetRemovedFilesFolder(AString("/trash"));
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    EXPECT_EQ(LoadLE32(saved.GetBuffer()), ADir::kRecordVersion);

    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ADir copy;
    ASSERT_EQ(copy.Load(reader, 0), 0);
    EXPECT_EQ(reader.GetPosition(), saved.GetSize());
    AMemFile again;
    ASSERT_EQ(copy.Save(again, 0), 0);
    EXPECT_EQ(std::vector<uint8_t>(again.GetBuffer(), again.GetBuffer() + again.GetSize()),
              std::vector<uint8_t>(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize()));
    EXPECT_EQ(copy.GetRemovedFilesFolder(), AString("/trash"));
    EXPECT_EQ(*copy.GetEntry(0), AString("a.mp3"));

    AMemFile songRecord;
    recordio::WriteU32(songRecord, 0x0010000B);
    AMemFile songReader(songRecord.GetBuffer(), songRecord.GetSize());
    EXPECT_EQ(copy.Load(songReader, 0), kErrorVersion);
    EXPECT_EQ(copy.GetCount(), 1);
}

TEST(ADirTest, AddEntryRefusesAnEmptyNameUnlessAllowed) {
    ADir list;
    EXPECT_EQ(list.AddEntry(AString(), 0), kErrorEndOfStream);
    EXPECT_EQ(list.AddEntry(AString(), 1), 0);
    EXPECT_EQ(list.AddEntry(AString("x"), 0), 1);
    EXPECT_EQ(list.GetEntry(2), nullptr);
}

TEST(ADirTest, CopySettingsTakesTheFiltersButNotTheRootOrEntries) {
    ADir source;
    source.SetFlags(2);
    source.SetTypeList(AString(":a:"));
    source.SetNameFilter(1, AString(":n:"), AString(":m:"));
    source.SetAskOnError(0);
    source.SetKeepRemovedFiles(0);
    source.SetCopyMode(1);
    source.SetLogTime(0);
    source.SetRemovedFilesFolder(AString("/elsewhere"));
    source.AddEntry(AString("entry"), 0);
    ADir target;
    target.CopySettings(source);
    EXPECT_EQ(target.GetTypeFilterFlags(), 2u);
    EXPECT_EQ(target.GetTypeList(), AString(":a:"));
    EXPECT_EQ(target.GetKeepNames(), AString(":n:"));
    EXPECT_EQ(target.GetAskOnError(), 0u);
    EXPECT_EQ(target.GetKeepRemovedFiles(), 0u);
    EXPECT_EQ(target.GetCopyMode(), 0u);
    EXPECT_EQ(target.GetLogTime(), 1u);
    EXPECT_TRUE(target.GetRemovedFilesFolder().IsEmpty());
    EXPECT_EQ(target.GetCount(), 0);
}

TEST(ADirTest, RemoteDeleteNeedsTheRemoteList) {
    ADir local;
    EXPECT_EQ(local.DeleteFile(AString("?host:/music/a.mp3"), 0, 0), kErrorEndOfStream);
    RemoteTypedDir remote;
    EXPECT_EQ(remote.DeleteFile(AString("?host:/music/a.mp3"), 0, 0), kErrorNotConnected);
    EXPECT_EQ(remote.DeleteFile(AString("?host:/music/a.mp3"), 0, 1), 0);
}

TEST(ADirTest, DeleteWithoutKeepingRemovesTheFile) {
    TempDir dir;
    WriteTextFile(dir.File("music/a.mp3"), "x");
    ADir list;
    list.SetKeepRemovedFiles(0);
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 1, CancelCallback()), 0);
    // Entries that are full paths are deleted as they stand.
    EXPECT_EQ(list.RemoveEntry(0, 1, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("music/a.mp3")));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(ADirTest, RemovedFilesGoBesideTheRootAndNeverOverwrite) {
    TempDir dir;
    WriteTextFile(dir.File("music/a.txt"), "first");
    WriteTextFile(dir.File("music/b.c/notes"), "second");
    ADir list;
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    WriteTextFile(dir.File("Removed Files/a.txt"), "older");
    WriteTextFile(dir.File("Removed Files/notes"), "older");
    ASSERT_EQ(list.DeleteFile(dir.Text("music/a.txt"), 1, 0), 0);
    ASSERT_EQ(list.DeleteFile(dir.Text("music/b.c/notes"), 1, 0), 0);
    EXPECT_EQ(ReadBytes(dir.File("Removed Files/a~.txt")), std::vector<uint8_t>({'f', 'i', 'r', 's', 't'}));
    // A name without a dot gets its "~" at the end, never inside a folder name.
    EXPECT_TRUE(std::filesystem::exists(dir.File("Removed Files/notes~")));
    EXPECT_EQ(ReadBytes(dir.File("Removed Files/notes")).size(), 5u);

    list.SetRemovedFilesFolder(dir.Text("trash"));
    WriteTextFile(dir.File("music/d.txt"), "x");
    ASSERT_EQ(list.DeleteFile(dir.Text("music/d.txt"), 1, 0), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("trash/Removed Files/d.txt")));
}

// The "~" that keeps a removed file from overwriting another goes into the file's name, never into a
// folder's: here only a folder holds a dot.
TEST(ADirTest, TheTildeOfARemovedFileNeverGoesIntoAFolderName) {
    TempDir dir;
    WriteTextFile(dir.File("music/one/notes"), "first");
    WriteTextFile(dir.File("music/two/notes"), "second");
    ADir list;
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    list.SetRemovedFilesFolder(dir.Text("old.d"));
    ASSERT_EQ(list.DeleteFile(dir.Text("music/one/notes"), 1, 0), 0);
    ASSERT_EQ(list.DeleteFile(dir.Text("music/two/notes"), 1, 0), 0);
    EXPECT_EQ(ReadBytes(dir.File("old.d/Removed Files/notes")).size(), 5u);
    EXPECT_EQ(ReadBytes(dir.File("old.d/Removed Files/notes~")).size(), 6u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("old~.d")));
}

TEST(ADirTest, RemovedFilesOfAVolumeRootStayOnThatVolume) {
    InspectableDir list;
    list.SetRootPath(AString("/proc"));
    EXPECT_EQ(list.RemovedFilesBase(), AString("/proc"));
    list.SetRootPath(AString("/tmp/music/"));
    EXPECT_EQ(list.RemovedFilesBase(), AString("/tmp"));
}
