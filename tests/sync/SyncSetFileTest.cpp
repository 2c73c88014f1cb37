// The ".sync" file: its layout read back byte for byte, the words that choose which objects are made,
// hostile counts and cut files, a string that could not be read back, a file that cannot be read kept
// aside, and the set's lock during a run.

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "sync/ASyncLib.h"
#include "sync/ASyncPlayLists.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/LibraryPodFixture.h"
#include "sync/RemoteLikeTunes.h"
#include "sync/SongListFactory.h"
#include "sync/SyncErrorCodes.h"
#include "sync/SyncFolders.h"
#include "sync/SyncSet.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Written(SyncSet& set) {
    AMemFile file;
    EXPECT_EQ(set.Write(file), 0);
    return Bytes(file.GetBuffer(), file.GetBuffer() + file.GetSize());
}

int ReadInto(SyncSet& set, const Bytes& bytes) {
    AMemFile file(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return set.Read(file);
}

uint32_t WordAt(const Bytes& bytes, size_t offset) {
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
           uint32_t(bytes[offset + 3]) << 24;
}

void PutWord(Bytes& bytes, size_t offset, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(word >> (8 * i));
}

// The bytes of a string record: version word, byte count, FF FE, UTF-16LE.
size_t StringRecordSize(const char* text) {
    return 4 + 2 + 2 + 2 * std::string(text).size();
}

std::unique_ptr<ASyncLib> FolderToPodSync() {
    return std::make_unique<ASyncLib>(ADir::kTypeSongDir, ADir::kTypePodDB);
}

// A set of a song folder and an iPod: the smallest whose syncs need no library.
SyncSet& FolderToPodSet(SyncSet& set) {
    set.SetName(AString("Folder set"));
    EXPECT_EQ(set.AddSync(FolderToPodSync()), 0);
    return set;
}

class SyncSetFile : public LibraryPodFixture {
protected:
    RegisteredRemoteLists remoteLists;
};

} // namespace

// The library against another computer's library, with playlists chosen, then a sync of two plain
// folders and one of a song folder and an iPod.
TEST_F(SyncSetFile, ASetReadsBackToTheSameBytesInTheFileLayout) {
    MakePlayList(u"Jazz", {});
    MakePlayList(u"Rock", {});
    SyncSet set(&progress);
    set.SetName(AString("Ann's iPod"));
    auto first = std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypeTunesRemote, &progress);
    first->SetDirection(kDirectionBoth);
    first->SetDeleteMode(1);
    first->SetCopyIntoLibrary(0);
    first->SetLibraryText(AString("kept text"));
    first->SetPlayListName1(AString("Library"));
    first->SetUseGenre(0);
    ASSERT_EQ(set.AddSync(std::move(first)), 0);
    SyncFolders folders;
    ASSERT_EQ(set.AddSync(folders.MakeSync(kDirection1To2, 0)), 0);
    ASSERT_EQ(set.AddSync(FolderToPodSync()), 0);
    ASSERT_EQ(set.AttachPlayListSync(), 0);
    ASSERT_EQ(set.GetPlayListRecords()->GetCount(), 2);
    set.GetPlayListRecords()->GetRecord(1).selected = 0;

    const Bytes bytes = Written(set);
    EXPECT_EQ(WordAt(bytes, 0), SyncSet::kFileVersion);
    EXPECT_EQ(WordAt(bytes, 4), 3U);
    EXPECT_EQ(WordAt(bytes, 8), 0x00100002U);
    const size_t marker = 8 + StringRecordSize("Ann's iPod");
    EXPECT_EQ(WordAt(bytes, marker), SyncSet::kPlayListMarker);
    EXPECT_EQ(WordAt(bytes, marker + 4), ASyncPlayLists::kRecordVersion);
    AMemFile playLists;
    ASSERT_EQ(set.GetPlayListSync()->Save(playLists, 0), 0);
    const size_t firstSync = marker + 4 + playLists.GetSize();
    EXPECT_EQ(WordAt(bytes, firstSync), 2U);
    EXPECT_EQ(WordAt(bytes, firstSync + 4), ADir::kTypeTunes);
    EXPECT_EQ(WordAt(bytes, firstSync + 8), ADir::kTypeTunesRemote);
    EXPECT_EQ(WordAt(bytes, firstSync + 12), ASyncLib::kRecordVersion);
    EXPECT_EQ(WordAt(bytes, firstSync + 16), ASync::kRecordVersion);

    SyncSet read(&progress);
    ASSERT_EQ(ReadInto(read, bytes), 0);
    EXPECT_EQ(Written(read), bytes);
    ASSERT_EQ(read.GetSyncCount(), 3);
    EXPECT_EQ(read.GetName(), "Ann's iPod");
    const auto& song = dynamic_cast<const ASyncLib&>(*read.GetSync(0));
    EXPECT_EQ(song.GetDirectory2().GetType(), ADir::kTypeTunesRemote);
    EXPECT_EQ(song.GetLibraryText(), "kept text");
    EXPECT_EQ(song.GetCopyIntoLibrary(), 0U);
    EXPECT_EQ(song.GetPlayListName(ASync::kSide1), "Library");
    EXPECT_EQ(read.GetSync(1)->GetSyncKind(), ASync::kPlainSyncKind);
    EXPECT_EQ(read.GetPlayListRecords()->GetRecord(1).selected, 0U);
    // Another computer's library is shown as a library, never as an iPod.
    EXPECT_EQ(read.GetPlayListSync()->GetType2(), ADir::kTypePlayListsTunes);
}

TEST_F(SyncSetFile, AFileOfAnotherVersionGivesAnEmptySet) {
    SyncSet set;
    Bytes bytes = Written(FolderToPodSet(set));
    PutWord(bytes, 0, SyncSet::kFileVersion + 1);
    EXPECT_EQ(ReadInto(set, bytes), kErrorVersion);
    EXPECT_EQ(set.GetSyncCount(), 0);
}

TEST_F(SyncSetFile, HostileCountsAreRefusedAndCutFilesReadUpToTheirFailure) {
    SyncSet set;
    FolderToPodSet(set);
    ASSERT_EQ(set.AddSync(FolderToPodSync()), 0);
    const Bytes bytes = Written(set);

    Bytes tooMany = bytes;
    PutWord(tooMany, 4, SyncSet::kMaxSyncs + 1);
    EXPECT_EQ(ReadInto(set, tooMany), kErrorInconsistentSize);
    PutWord(tooMany, 4, 0xFFFFFFFF);
    EXPECT_EQ(ReadInto(set, tooMany), kErrorInconsistentSize);
    EXPECT_EQ(set.GetSyncCount(), 0);

    // More syncs announced than the file holds: the two that are there stay.
    Bytes moreAnnounced = bytes;
    PutWord(moreAnnounced, 4, 5);
    EXPECT_NE(ReadInto(set, moreAnnounced), 0);
    EXPECT_EQ(set.GetSyncCount(), 2);

    SyncSet cut;
    for (size_t length = 0; length < bytes.size(); ++length) {
        const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_NE(ReadInto(cut, prefix), 0) << length;
    }
}

TEST_F(SyncSetFile, APlayListCountBeyondAnyLibraryIsRefused) {
    RegisteredRemoteLists registered;
    SyncSet set;
    ASSERT_EQ(set.AddSync(std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypeTunesRemote)), 0);
    Bytes bytes = Written(set);
    AMemFile lists;
    ASSERT_EQ(set.GetPlayListSync()->Save(lists, 0), 0);
    const size_t marker = 8 + StringRecordSize("");
    const size_t recordCount = marker + 4 + lists.GetSize() - 4;
    ASSERT_EQ(WordAt(bytes, recordCount - 4), PlayListSyncRecordList::kRecordVersion);
    PutWord(bytes, recordCount, PlayListSyncRecordList::kMaxRecords + 1);
    EXPECT_EQ(ReadInto(set, bytes), kErrorInconsistentSize);
}

// A sync of kind 3 (or any kind but 1) is read as a song sync; a sync whose list this program cannot
// make ends the read with -36.
TEST_F(SyncSetFile, TheKindWordChoosesTheSyncThatIsMade) {
    SyncSet set;
    Bytes bytes = Written(FolderToPodSet(set));
    const size_t entry = 8 + StringRecordSize("Folder set") + 4;
    ASSERT_EQ(WordAt(bytes, entry), 2U);
    PutWord(bytes, entry, 3);
    ASSERT_EQ(ReadInto(set, bytes), 0);
    EXPECT_EQ(set.GetSync(0)->GetSyncKind(), ASyncLib::kSongSyncKind);
    // Another computer's library, whose layer has not registered its list.
    SongListFactory::Register(ADir::kTypeTunesRemote, nullptr);
    PutWord(bytes, entry + 8, ADir::kTypeTunesRemote);
    EXPECT_EQ(ReadInto(set, bytes), kErrorIO);
    EXPECT_EQ(set.GetSyncCount(), 0);
}

TEST_F(SyncSetFile, AStringThatCouldNotBeReadBackIsRefusedAndTheOldFileStays) {
    SyncSet set;
    const AString path = dir.Text("set.sync");
    ASSERT_EQ(FolderToPodSet(set).Save(path), 0);
    const Bytes saved = ReadBytes(path.ToUtf8());
    set.SetName(AString(std::string(AString::kMaxRecordBytes / 2, 'n').c_str()));
    EXPECT_EQ(set.Save(path), kErrorStringTooLong);
    EXPECT_EQ(ReadBytes(path.ToUtf8()), saved);
    SyncSet read;
    EXPECT_EQ(read.Load(path), 0);
    EXPECT_EQ(read.GetName(), "Folder set");
}

TEST_F(SyncSetFile, AFileThatCannotBeReadIsKeptAsBad) {
    const std::string path = dir.File("00000000.sync");
    const Bytes garbage = {0x04, 0x00, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00, 0xAA};
    WriteBytes(path, garbage);
    SyncSet set;
    EXPECT_NE(set.Load(AString(path.c_str())), 0);
    EXPECT_EQ(ReadBytes(path + ".bad"), garbage);
    EXPECT_EQ(ReadBytes(path), garbage);
    // A file that is not there is no bad file.
    EXPECT_NE(set.Load(dir.Text("missing.sync")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.sync.bad")));
}

// While a run holds the set, nothing else may change or read it: each is refused at once.
TEST_F(SyncSetFile, DuringARunTheSetRefusesEverythingElse) {
    SyncFolders folders;
    folders.Put(1, "a.mp3", "a");
    SyncSet set;
    ASSERT_EQ(set.AddSync(folders.MakeSync(kDirection1To2, 0)), 0);
    const AString path = dir.Text("busy.sync");
    std::vector<int> answers;
    HeadlessActionPresenter presenter([&](ASync&, const SyncActionTexts&) {
        AMemFile memory;
        const Bytes empty;
        answers = {set.Save(path),
                   set.Write(memory),
                   ReadInto(set, empty),
                   set.AttachPlayListSync(),
                   set.RunSync(CancelCallback(), 0, false),
                   set.Run(CancelCallback()),
                   set.AddSync(folders.MakeSync(kDirection1To2, 0))};
        return false;
    });
    set.SetPresenter(&presenter);
    EXPECT_EQ(set.Run(CancelCallback()), kUserCancel);
    EXPECT_EQ(answers,
              (std::vector<int>{kErrorBusy, kErrorBusy, kErrorBusy, kErrorBusy, kErrorBusy, kErrorBusy, -1}));
    EXPECT_EQ(set.GetSyncCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(path.ToUtf8()));
    EXPECT_EQ(set.Save(path), 0);
}

TEST_F(SyncSetFile, OnlyAFirstSongSyncWithTwoSongSidesHasPlayListsToAttach) {
    RegisteredRemoteLists registered;
    SyncSet empty;
    EXPECT_EQ(empty.AttachPlayListSync(), kErrorNotSupported);
    EXPECT_EQ(empty.GetPlayListRecords(), nullptr);

    SyncSet folderSet;
    FolderToPodSet(folderSet);
    EXPECT_EQ(folderSet.GetPlayListSync(), nullptr);
    EXPECT_EQ(folderSet.AttachPlayListSync(), kErrorNotSupported);
    EXPECT_EQ(folderSet.GetPlayListRecords(), nullptr);

    // A file whose first sync is plain but which carries a playlist record: the head of a set with a
    // playlist sync, then the entry of a plain sync.
    SyncSet withPlayLists;
    ASSERT_EQ(withPlayLists.AddSync(std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypeTunesRemote)), 0);
    Bytes spliced = Written(withPlayLists);
    SyncSet plain;
    SyncFolders folders;
    ASSERT_EQ(plain.AddSync(folders.MakeSync(kDirection1To2, 0)), 0);
    const Bytes plainBytes = Written(plain);
    const size_t plainEntry = 8 + StringRecordSize("") + 4;
    AMemFile firstSync;
    ASSERT_EQ(withPlayLists.GetSync(0)->Save(firstSync, 0), 0);
    spliced.resize(spliced.size() - firstSync.GetSize() - 12);
    spliced.insert(spliced.end(), plainBytes.begin() + static_cast<std::ptrdiff_t>(plainEntry),
                   plainBytes.end());
    ASSERT_EQ(ReadInto(withPlayLists, spliced), 0);
    ASSERT_NE(withPlayLists.GetPlayListSync(), nullptr);
    EXPECT_EQ(withPlayLists.GetSync(0)->GetSyncKind(), ASync::kPlainSyncKind);
    EXPECT_EQ(withPlayLists.AttachPlayListSync(), kErrorNotSupported);
    // Each refusal leaves the lock free.
    EXPECT_EQ(empty.AddSync(FolderToPodSync()), 0);
    EXPECT_EQ(folderSet.AddSync(FolderToPodSync()), 0);
    EXPECT_EQ(withPlayLists.AddSync(FolderToPodSync()), 0);
}

// The playlist sync follows the first sync, whatever is added after it.
TEST_F(SyncSetFile, ThePlayListSyncBelongsToTheFirstSync) {
    RegisteredRemoteLists registered;
    SyncSet set;
    ASSERT_EQ(set.AddSync(std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypeTunesRemote)), 0);
    ASyncPlayLists* playLists = set.GetPlayListSync();
    ASSERT_NE(playLists, nullptr);
    EXPECT_EQ(playLists->GetType1(), ADir::kTypePlayListsTunes);
    EXPECT_EQ(playLists->GetType2(), ADir::kTypePlayListsTunes);
    ASSERT_EQ(set.AddSync(FolderToPodSync()), 0);
    EXPECT_EQ(set.GetPlayListSync(), playLists);
    EXPECT_EQ(
        set.AddSync(std::make_unique<ASyncPlayLists>(ADir::kTypePlayListsTunes, ADir::kTypePlayListsPod)),
        kErrorNotSupported);
}

TEST_F(SyncSetFile, RunningOneSyncAlone) {
    SyncSet set;
    FolderToPodSet(set);
    EXPECT_EQ(set.RunSync(CancelCallback(), 1, false), kErrorNoSyncAtIndex);
    EXPECT_EQ(set.RunSync(CancelCallback(), -1, false), kErrorNoSyncAtIndex);
    set.GetSync(0)->SetDirection(kDirectionSkipped);
    EXPECT_EQ(set.RunSync(CancelCallback(), 0, false), 0);
}

// A run that ends early, here on playlists whose names differ only in letter case, leaves no session
// with another computer open.
TEST_F(SyncSetFile, ARunThatEndsEarlyLeavesNoRemoteSessionOpen) {
    MakePlayList(u"Mix", {});
    MakePlayList(u"MIX", {});
    SyncSet set(&progress);
    auto first = std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypeTunesRemote, &progress);
    const AString root(ADirTunes::kRootMarker);
    first->BuildList1(&root, CancelCallback(), false, false);
    first->BuildList2(&root, CancelCallback(), false, false);
    first->SetPlayListName1(AString("Library"));
    first->SetPlayListName2(AString("Library"));
    ASSERT_EQ(set.AddSync(std::move(first)), 0);
    user.QueueAnswers({1});
    EXPECT_EQ(set.Run(CancelCallback()), kErrorDuplicateNames);
    EXPECT_EQ(RemoteLikeTunes::sessions, 0);
}
