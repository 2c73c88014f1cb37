// Deciding between two folders of song files, each read as a song list: songs pair by their entry
// texts (built from the tags), not by where their files lie.

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "sync/ASync.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;

TestSongTags Waterloo(int audioFrames = 4) {
    TestSongTags tags;
    tags.genre = "Pop";
    tags.artist = "Abba";
    tags.album = "Gold";
    tags.title = "Waterloo";
    tags.audioFrames = audioFrames;
    return tags;
}

std::unique_ptr<ADirSongDir> SongList(bool withType) {
    auto list = std::make_unique<ADirSongDir>();
    list->SetTypeLevel(withType ? 1 : 0);
    return list;
}

class SongFolders : public ::testing::Test {
protected:
    void UseSongLists(bool withType) {
        sync.SetSideLists(ASync::kSide1, SongList(withType), SongList(withType));
        sync.SetSideLists(ASync::kSide2, SongList(withType), SongList(withType));
        sync.SetDirection(kDirectionBoth);
        folders.SetRoots(sync);
    }

    void PutSong(int side, const std::string& name, const std::vector<uint8_t>& bytes, int64_t time) {
        folders.Put(side, name, std::string(bytes.begin(), bytes.end()), time);
    }

    SyncFolders folders;
    ASync sync;
};

} // namespace

TEST_F(SongFolders, TheSameSongPairsWhereverItsFileLies) {
    UseSongLists(true);
    PutSong(1, "Abba/Gold/01 Waterloo.mp3", MakeMp3(Waterloo()), kBaseUnixTime);
    PutSong(2, "elsewhere/w.mp3", MakeMp3(Waterloo()), kBaseUnixTime);
    ASSERT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
    EXPECT_EQ(sync.GetActionCount(), 0);

    PutSong(2, "elsewhere/w.mp3", MakeMp3(Waterloo(6)), kBaseUnixTime + 7200);
    ASSERT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
    ASSERT_EQ(sync.GetActionCount(), 1);
    EXPECT_EQ(sync.GetAction(0)->displayIndex, kReplaceIn1);
}

// Without the type in the entry an mp3 and an m4a of one song share a name: one is not a newer version
// of the other, so the user decides.
TEST_F(SongFolders, ASongInAnotherFileTypeIsLeftUndecided) {
    UseSongLists(false);
    PutSong(1, "w.mp3", MakeMp3(Waterloo()), kBaseUnixTime + 7200);
    PutSong(2, "w.m4a", MakeMp4(Waterloo(), 2000), kBaseUnixTime);
    ASSERT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
    ASSERT_EQ(sync.GetActionCount(), 1);
    const SyncAction& action = *sync.GetAction(0);
    EXPECT_EQ(action.code, kActionUndefined);
    EXPECT_EQ(action.enabled, 0U);
    EXPECT_TRUE(action.pathA.ToUtf8().rfind(folders.Root(1).ToUtf8(), 0) == 0);
}

// The files behind the entries are replaced and deleted; where a new song belongs in a song folder is
// the song sync's to decide, so the plain sync refuses such a copy.
TEST_F(SongFolders, PerformingActsOnTheFilesBehindTheEntries) {
    UseSongLists(true);
    sync.SetDeleteMode(1);
    sync.SetKeptAnswers({kAnswerYesToAll, kAnswerYesToAll, kAnswerYesToAll});
    TestSongTags gone = Waterloo();
    gone.title = "Gone";
    TestSongTags added = Waterloo();
    added.title = "Added";
    PutSong(1, "w.mp3", MakeMp3(Waterloo()), kBaseUnixTime);
    PutSong(1, "gone.mp3", MakeMp3(gone), kBaseUnixTime);
    PutSong(2, "x/w.mp3", MakeMp3(Waterloo()), kBaseUnixTime);
    PutSong(2, "x/gone.mp3", MakeMp3(gone), kBaseUnixTime);
    ASSERT_EQ(sync.SaveFileLists(CancelCallback()), 0);
    // Since the last sync, gone.mp3 was deleted from Directory 2 and added.mp3 came to Directory 1.
    folders.Remove(2, "x/gone.mp3");
    PutSong(1, "added.mp3", MakeMp3(added), kBaseUnixTime);
    PutSong(2, "x/w.mp3", MakeMp3(Waterloo(6)), kBaseUnixTime + 7200);
    ASSERT_EQ(sync.Prepare(CancelCallback(), kBuildBoth, false), 0);
    ASSERT_EQ(sync.GetActionCount(), 3);

    EXPECT_EQ(sync.PerformActions(CancelCallback()), kErrorNotSupported);
    const auto tree1 = folders.Tree(1);
    EXPECT_EQ(tree1.at("w.mp3").size(), MakeMp3(Waterloo(6)).size());
    EXPECT_EQ(tree1.count("gone.mp3"), 0U);
    EXPECT_TRUE(folders.Tree(2).count("x/w.mp3"));
    EXPECT_EQ(folders.Tree(2).size(), 2U);
}

// Deciding compares the sizes and times the song lists read when they were built, and asks no file
// again; a list that was loaded, not read, has its files asked.
TEST_F(SongFolders, PairsAreComparedByWhatTheListsRead) {
    UseSongLists(true);
    PutSong(1, "w.mp3", MakeMp3(Waterloo()), kBaseUnixTime);
    PutSong(2, "w.mp3", MakeMp3(Waterloo()), kBaseUnixTime);
    ASSERT_EQ(sync.BuildList1(nullptr, CancelCallback(), true, false), 0);
    ASSERT_EQ(sync.BuildList2(nullptr, CancelCallback(), true, false), 0);
    PutSong(2, "w.mp3", MakeMp3(Waterloo(6)), kBaseUnixTime + 7200);
    ASSERT_EQ(sync.CalculateTwoWay(CancelCallback(), false), 0);
    EXPECT_EQ(sync.GetActionCount(), 0);

    AMemFile saved;
    ASSERT_EQ(sync.GetDirectory2().Save(saved, 0), 0);
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(sync.GetDirectory2().Load(reader, 0), 0);
    ASSERT_EQ(sync.CalculateTwoWay(CancelCallback(), false), 0);
    ASSERT_EQ(sync.GetActionCount(), 1);
    EXPECT_EQ(sync.GetAction(0)->displayIndex, kReplaceIn1);
}
