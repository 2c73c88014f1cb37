// The saved record of a sync: its layout (the option words after the one-byte options are not
// aligned), a byte-exact round trip, which lists it keeps, and its refusals.

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/itunes/RecordBytes.h"
#include "library/songlists/ADir.h"
#include "support/AStringPrinting.h"
#include "sync/ASync.h"
#include "sync/HeadlessActionPresenter.h"
#include "sync/SongKey.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

// Comments and ratings on, the other three play-data fields off.
constexpr uint32_t kSongFields = SongKey::kComment | SongKey::kRating;

Bytes Saved(ASync& sync) {
    AMemFile stream;
    EXPECT_EQ(sync.Save(stream, 0), 0);
    return Bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

int LoadInto(ASync& sync, const Bytes& bytes) {
    AMemFile stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return sync.Load(stream, 0);
}

// Every option away from its default.
void SetOptions(ASync& sync) {
    sync.SetDirection(kDirectionBoth);
    sync.SetDeleteMode(1);
    sync.SetKeptAnswers({kAnswerYesToAll, kAnswerNoToAll, kAnswerAsk});
    sync.SetAutoRunSync(1);
    sync.SetSongFields(kSongFields);
    sync.SetAutoReplaceAll(1);
    sync.SetShowActionList(0);
    sync.SetForceReadOnly(1);
    sync.SetVerifyCopies(1);
    sync.SetStopOnError(1);
    sync.SetTypeFilterOn(1);
    sync.SetListOption(5);
    sync.SetVerboseLog(0);
    sync.SetTypeList(AString(":mp3:"));
    sync.SetExcludeTypeList(AString(":wav:"));
}

} // namespace

TEST(SyncRecord, OptionsFollowTheListsFieldByField) {
    ASync sync;
    SetOptions(sync);
    const Bytes bytes = Saved(sync);

    Bytes tail;
    for (uint32_t word : {1U, 2U, 4U, 0U, 3U, 1U})
        AppendU32(tail, word);
    for (uint8_t byte : {1, 0, 1, 0, 0, 1})
        tail.push_back(byte);
    for (uint32_t word : {0U, 1U, 1U, 1U, 1U, 1U, 5U, 0U})
        AppendU32(tail, word);
    AppendTextRecord(tail, u":mp3:");
    AppendTextRecord(tail, u":wav:");

    ASSERT_GT(bytes.size(), tail.size() + 4);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0x0C, 0x00, 0x10, 0x00}));
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);
}

TEST(SyncRecord, LoadThenSaveGivesTheSameBytes) {
    ASync sync;
    SetOptions(sync);
    const AString root(u"/music/Ünïcode/");
    sync.BuildList1(&root, CancelCallback(), false, false);
    sync.GetSnapshot1().AddEntry(AString("a.mp3"), 0);
    sync.GetSnapshot2().AddEntry(AString("b.mp3"), 0);
    const Bytes first = Saved(sync);

    ASync loaded;
    ASSERT_EQ(LoadInto(loaded, first), 0);
    EXPECT_EQ(Saved(loaded), first);
    EXPECT_EQ(loaded.GetDirection(), kDirectionBoth);
    EXPECT_EQ(loaded.GetKeptAnswers().replaceNewer, kAnswerNoToAll);
    EXPECT_EQ(loaded.GetSongFields(), kSongFields);
    EXPECT_EQ(loaded.GetIncludeTypes(), ":mp3:");
    EXPECT_EQ(loaded.GetDirectory1().GetRootPath(), root);
    EXPECT_EQ(loaded.GetSnapshot1().GetCount(), 1);
    EXPECT_EQ(loaded.GetSnapshot2().GetCount(), 1);
}

TEST(SyncRecord, OneWaySyncsSaveNoSnapshots) {
    for (uint32_t direction : {kDirection1To2, kDirection2To1, kDirectionBoth, kDirectionSkipped}) {
        ASync sync;
        sync.SetDirection(direction);
        sync.GetDirectory1().AddEntry(AString("a.mp3"), 0);
        sync.GetSnapshot1().AddEntry(AString("a.mp3"), 0);
        ASync loaded;
        ASSERT_EQ(LoadInto(loaded, Saved(sync)), 0);
        const bool keeps = direction == kDirectionBoth || direction == kDirectionSkipped;
        EXPECT_EQ(loaded.GetSnapshot1().GetCount(), keeps ? 1 : 0) << direction;
        EXPECT_EQ(loaded.GetDirectory1().GetCount(), 0);
    }
}

TEST(SyncRecord, AWrongVersionOrAShortRecordFails) {
    ASync sync;
    Bytes bytes = Saved(sync);
    Bytes wrong = bytes;
    wrong[0] = 0x0D;
    ASync target;
    EXPECT_EQ(LoadInto(target, wrong), kErrorVersion);
    bytes.resize(bytes.size() - 3);
    EXPECT_NE(LoadInto(target, bytes), 0);
}

// A sync that runs holds its lock: saving or loading meanwhile is refused and leaves its lists alone.
TEST(SyncRecord, SaveAndLoadDuringARunAreRefused) {
    SyncFolders folders;
    folders.Put(1, "a.mp3", "a");
    const auto sync = folders.MakeSync(kDirection1To2, 0);
    const Bytes saved = Saved(*sync);
    int saveResult = 0;
    int loadResult = 0;
    int listed = 0;
    HeadlessActionPresenter presenter([&](ASync& running, const SyncActionTexts&) {
        AMemFile out;
        saveResult = running.Save(out, 0);
        AMemFile in(saved.data(), static_cast<uint32_t>(saved.size()));
        loadResult = running.Load(in, 0);
        listed = running.GetDirectory1().GetCount();
        return false;
    });
    sync->SetPresenter(&presenter);
    EXPECT_EQ(sync->Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), kUserCancel);
    EXPECT_EQ(saveResult, kErrorBusy);
    EXPECT_EQ(loadResult, kErrorBusy);
    EXPECT_EQ(listed, 1);
    AMemFile afterwards;
    EXPECT_EQ(sync->Save(afterwards, 0), 0);
}
