// Play data (play count, last played, rating, comment, equalizer) between a music library and a remote
// one, for songs whose files are alike: compared only against a remote library, merged so that no side
// loses what it knew, and written only where a field changes.

#include "sync/HeadlessActionPresenter.h"
#include "sync/ScriptedSources.h"
#include "sync/SongKey.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;

class PlayData : public ::testing::Test {
protected:
    void SetUp() override {
        folders.Put(1, "a.mp3", "same");
        folders.Put(2, "a.mp3", "same");
        sync.UseScriptedLists(ADir::kTypeTunes, ADir::kTypeTunesRemote);
        folders.SetRoots(sync);
    }

    void Keys(const char* key1, const char* key2) {
        sync.List(1).songKeys["a.mp3"] = key1;
        sync.List(2).songKeys["a.mp3"] = key2;
    }

    Lines Prepare(bool checkFields) {
        EXPECT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, checkFields), 0);
        return ActionLines(sync, folders);
    }

    SyncFolders folders;
    ScriptedSync sync;
};

} // namespace

TEST_F(PlayData, TwoWayEachSideGetsWhatItLacks) {
    sync.SetDirection(kDirectionBoth);
    Keys("/5/100_0/0/*/*", "/3/200_0/60/*/Rock");
    EXPECT_EQ(Prepare(true), (Lines{"5 code 3 [1:a.mp3] [2:a.mp3]", "4 code 3 [1:a.mp3] [2:a.mp3]"}));
    EXPECT_EQ(sync.GetAction(0)->fieldsOnly, 1U);

    EXPECT_EQ(sync.PerformActions(CancelCallback()), 0);
    ASSERT_EQ(sync.updates.size(), 2U);
    EXPECT_EQ(sync.updates[0].key, "/5/200_0/60/*/Rock");
    EXPECT_EQ(sync.updates[0].fields, uint32_t(SongKey::kPlayCount));
    EXPECT_EQ(sync.updates[1].key, "/5/200_0/60/*/Rock");
    EXPECT_EQ(sync.updates[1].fields, SongKey::kLastPlayed | SongKey::kRating | SongKey::kEqualizer);
    EXPECT_EQ(folders.Tree(2).at("a.mp3"), "same");
}

TEST_F(PlayData, OneWayATargetThatKnowsMoreIsLeftAlone) {
    Keys("/3/0_0/0/*/*", "/5/0_0/0/*/*");
    EXPECT_TRUE(Prepare(true).empty());
    Keys("/9/0_0/0/*/*", "/5/0_0/0/*/*");
    EXPECT_EQ(Prepare(true), Lines{"5 code 3 [1:a.mp3] [2:a.mp3]"});
}

TEST_F(PlayData, OnlyTheEnabledFieldsAreComparedAndWritten) {
    sync.SetSongFields(SongKey::kRating);
    Keys("/9/0_0/40/*/*", "/5/0_0/0/*/*");
    EXPECT_EQ(Prepare(true), Lines{"5 code 3 [1:a.mp3] [2:a.mp3]"});
    EXPECT_EQ(sync.PerformActions(CancelCallback()), 0);
    ASSERT_EQ(sync.updates.size(), 1U);
    EXPECT_EQ(sync.updates[0].fields, uint32_t(SongKey::kRating));
}

TEST_F(PlayData, NotComparedUnlessAskedAndAgainstARemoteLibrary) {
    Keys("/9/0_0/0/*/*", "/5/0_0/0/*/*");
    EXPECT_TRUE(Prepare(false).empty());
    sync.UseScriptedLists(ADir::kTypeTunes, ADir::kTypeTunes);
    folders.SetRoots(sync);
    Keys("/9/0_0/0/*/*", "/5/0_0/0/*/*");
    EXPECT_TRUE(Prepare(true).empty());
}

// A song the target does not have gets a copy, never a play-data update, even when the sync's own
// filter leaves its file out.
TEST_F(PlayData, NoUpdateForASongTheTargetLacks) {
    folders.Put(1, "b.wav", "wave");
    sync.List(1).songKeys["b.wav"] = "/9/0_0/0/*/*";
    sync.SetTypeFilterOn(1);
    sync.SetTypeList(AString(":mp3:"));
    Keys("/1/0_0/0/*/*", "/1/0_0/0/*/*");
    EXPECT_TRUE(Prepare(true).empty());
}
