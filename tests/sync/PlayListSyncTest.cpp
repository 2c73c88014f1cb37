// The playlist sync and a sync set's run over playlists, between the stand-in library and an iPod with
// playlists: the selection records merged from both sides, the playlist actions, a confirmed deletion
// that takes its songs' actions with it, a playlist made in the run and filled, and the syncs kept from
// one run to the next.

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirTunes.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "sync/ASyncPlayLists.h"
#include "sync/LibraryPodFixture.h"
#include "sync/PlayListPod.h"
#include "sync/SongListFactory.h"
#include "sync/SyncFolders.h"
#include "sync/SyncSet.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

constexpr int kButtonYes = 0;
constexpr int kButtonNo = 1;

std::string RecordLine(const PlayListSyncRecord& record) {
    return record.name.ToUtf8() + " " + std::to_string(record.selected) + std::to_string(record.inList1) +
           std::to_string(record.inList2) + (record.duplicate ? " duplicate" : "");
}

Lines RecordLines(const PlayListSyncRecordList& records) {
    Lines lines;
    for (int i = 0; i < records.GetCount(); ++i)
        lines.push_back(RecordLine(records.GetRecord(i)));
    return lines;
}

// Each playlist action: its code, the playlist's name on each side and how many song actions it has.
Lines PlayListActionLines(const ASyncPlayLists& playLists) {
    Lines lines;
    for (int i = 0; i < playLists.GetActionCount(); ++i) {
        const PlayListSyncAction& action = *playLists.GetPlayListAction(i);
        lines.push_back(std::to_string(action.code) + " [" + action.name1.ToUtf8() + "|" +
                        action.name2.ToUtf8() + "] " +
                        std::to_string(action.songSync ? action.songSync->GetActionCount() : -1) + " " +
                        std::to_string(action.result));
    }
    return lines;
}

// The library holds Blue (in the playlist Jazz), Stone and Paper (in Rock). The iPod's library holds
// the same three files; its playlist "rock" holds Stone, and "Pop" a song of its own.
class PlayListScenario : public LibraryPodFixture {
protected:
    void SetUp() override {
        LibraryPodFixture::SetUp();
        blue = AddLibrarySong("Miles", "Kind", "Blue", "1");
        stone = AddLibrarySong("Band", "Rocks", "Stone", "2");
        paper = AddLibrarySong("Band", "Rocks", "Paper", "3");
        MakePlayList(u"Jazz", {blue});
        MakePlayList(u"Rock", {stone, paper});
        for (const std::string& song : {blue, stone, paper})
            PutOnPod(song, "Library");
        PutOnPod(stone, "Lists/rock");
        WriteSongFile(PodRoot() + "/Lists/Pop/Pop Song.mp3",
                      MakeMp3(SongTags("Pop", "Star", "Hits", "Pop Song")));
        set.SetPresenter(&presenter);
    }

    void PutOnPod(const std::string& song, const std::string& folder) const {
        const std::string target = PodRoot() + "/" + folder + "/" + fs::path(song).filename().string();
        fs::create_directories(fs::path(target).parent_path());
        fs::copy_file(song, target);
        fs::last_write_time(target, fs::last_write_time(song));
    }

    std::set<std::string> PodFolder(const std::string& folder) const {
        std::set<std::string> names;
        if (fs::exists(PodRoot() + "/" + folder)) {
            for (const auto& item : fs::directory_iterator(PodRoot() + "/" + folder))
                names.insert(item.path().filename().string());
        }
        return names;
    }

    // "Make iPod equal to iTunes", over the whole library and the whole iPod.
    std::unique_ptr<ASyncLib> LibrarySync() {
        auto sync = std::make_unique<ASyncLib>(ADir::kTypeTunes, ADir::kTypePod, &progress);
        sync->SetDirection(kDirection1To2);
        sync->SetDeleteMode(1);
        const AString libraryRoot(ADirTunes::kRootMarker);
        const AString podRoot(PodRoot().c_str());
        sync->BuildList1(&libraryRoot, CancelCallback(), false, false);
        sync->BuildList2(&podRoot, CancelCallback(), false, false);
        sync->SetPlayListName1(AString("Library"));
        sync->SetPlayListName2(AString("Library"));
        return sync;
    }

    PlayListPods pods;
    std::string blue, stone, paper;
    SyncSet set{&progress};
    Lines playListActions;
    HeadlessActionPresenter presenter{
        nullptr, [this](ASyncPlayLists& playLists, const std::vector<ASync*>&, const SyncActionTexts&) {
            playListActions = PlayListActionLines(playLists);
            return confirm;
        }};
};

} // namespace

TEST_F(PlayListScenario, TheRecordsMergeBothSidesByName) {
    ASSERT_EQ(set.AddSync(LibrarySync()), 0);
    ASSERT_EQ(set.AttachPlayListSync(), 0);
    EXPECT_EQ(RecordLines(*set.GetPlayListRecords()), (Lines{"Jazz 110", "Pop 101", "Rock 111"}));
    // A choice stays with its name; a name seen for the first time is chosen.
    set.GetPlayListRecords()->GetRecord(1).selected = 0;
    MakePlayList(u"Mix", {});
    MakePlayList(u"MIX", {});
    ASSERT_EQ(set.AttachPlayListSync(), 0);
    EXPECT_EQ(RecordLines(*set.GetPlayListRecords()),
              (Lines{"Jazz 110", "Mix 110 duplicate", "MIX 110 duplicate", "Pop 001", "Rock 111"}));
    // Two playlists whose names differ only in letter case cannot both be synced; the question names
    // the later of the two.
    user.QueueAnswers({kButtonNo});
    EXPECT_EQ(set.Run(CancelCallback()), kErrorDuplicateNames);
    ASSERT_EQ(user.alerts.size(), 1U);
    EXPECT_EQ(user.alerts[0].message.Find("There is more than one playlist with the name \"MIX\"."), 0);
}

TEST_F(PlayListScenario, ARunMakesDeletesAndFillsPlayListsAndKeepsTheUsersFirstSync) {
    ASSERT_EQ(set.AddSync(LibrarySync()), 0);
    const ASync* first = set.GetSync(0);
    user.QueueAnswers({kButtonYes});
    ASSERT_EQ(set.Run(CancelCallback()), 0) << progress.PendingLog().ToUtf8();
    // The main library, Jazz to make on the iPod (its songs to copy there), Pop to delete (its songs
    // cannot be read on the library's side), Rock with one song to copy into the iPod's "rock".
    EXPECT_EQ(playListActions,
              (Lines{"7 [|] 0 0", "1 [Jazz|Jazz] 1 0", "2 [Pop|Pop] 0 -8", "7 [Rock|rock] 1 0"}));
    EXPECT_EQ(PodFolder("Lists"), (std::set<std::string>{"Jazz", "rock"}));
    EXPECT_EQ(PodFolder("Lists/Jazz"), (std::set<std::string>{"Blue.mp3"}));
    EXPECT_EQ(PodFolder("Lists/rock"), (std::set<std::string>{"Paper.mp3", "Stone.mp3"}));
    // Nothing was deleted against the playlist made in the run.
    EXPECT_EQ(PodFolder("Library"), (std::set<std::string>{"Blue.mp3", "Paper.mp3", "Stone.mp3"}));
    ASSERT_EQ(set.GetSyncCount(), 4);
    EXPECT_EQ(set.GetSync(0), first);
    const ASync* rockSync = set.GetSync(3);

    // The next run keeps the syncs it can use again and finds everything in step.
    user.messages.clear();
    ASSERT_EQ(set.Run(CancelCallback()), 0);
    EXPECT_EQ(user.messages, std::vector<AString>{AString("Nothing to Sync!")});
    EXPECT_EQ(RecordLines(*set.GetPlayListRecords()), (Lines{"Jazz 111", "Rock 111"}));
    ASSERT_EQ(set.GetSyncCount(), 3);
    EXPECT_EQ(set.GetSync(0), first);
    EXPECT_EQ(set.GetSync(2), rockSync);
}

// A playlist deleted with the user's Yes takes the actions of its songs with it; a No leaves both.
TEST_F(PlayListScenario, AConfirmedPlayListDeletionSwitchesOffItsSongActions) {
    ASyncPlayLists playLists(ADir::kTypePlayListsTunes, ADir::kTypePlayListsPod, &progress);
    auto library = LibrarySync();
    ASSERT_EQ(library->BuildList2(nullptr, CancelCallback(), false, false), 0);
    playLists.SetDirection(kDirection2To1);
    playLists.SetDeleteMode(1);
    ASSERT_EQ(playLists.AttachSources(&dynamic_cast<ADirSong&>(library->GetDirectory1()),
                                      &dynamic_cast<ADirSong&>(library->GetDirectory2())),
              0);
    ASSERT_EQ(playLists.Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), 0);
    ASSERT_EQ(PlayListActionLines(playLists),
              (Lines{"7 [|] -1 0", "2 [Jazz|Jazz] -1 0", "1 [Pop|Pop] -1 0", "7 [Rock|rock] -1 0"}));

    SyncFolders folders;
    folders.Put(1, "a.mp3", "a");
    const auto songs = folders.MakeSync(kDirection1To2, 0);
    ASSERT_EQ(songs->Prepare(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), 0);
    ASSERT_EQ(songs->GetActionCount(), 1);
    playLists.GetPlayListAction(1)->songSync = songs.get();

    user.QueueAnswers({kButtonNo});
    EXPECT_EQ(playLists.PerformPlayListAction(1, CancelCallback()), 0);
    EXPECT_EQ(songs->GetAction(0)->enabled, 1U);
    std::vector<AString> names;
    ASSERT_EQ(dynamic_cast<ADirSong&>(library->GetDirectory1()).GetPlayListNames(names, 0, 0), 0);
    EXPECT_EQ(names.size(), 2U);

    user.QueueAnswers({kButtonYes});
    EXPECT_EQ(playLists.PerformPlayListAction(1, CancelCallback()), 0);
    EXPECT_EQ(songs->GetAction(0)->enabled, 0U);
    names.clear();
    ASSERT_EQ(dynamic_cast<ADirSong&>(library->GetDirectory1()).GetPlayListNames(names, 0, 0), 0);
    EXPECT_EQ(names, std::vector<AString>{AString("Rock")});
}

// Only the main library: the first sync runs alone, as it does when no playlist is chosen.
TEST_F(PlayListScenario, WithoutAChosenPlayListTheFirstSyncRunsAlone) {
    ASSERT_EQ(set.AddSync(LibrarySync()), 0);
    ASSERT_EQ(set.AttachPlayListSync(), 0);
    for (int i = 0; i < set.GetPlayListRecords()->GetCount(); ++i)
        set.GetPlayListRecords()->GetRecord(i).selected = 0;
    user.messages.clear();
    ASSERT_EQ(set.Run(CancelCallback()), 0);
    EXPECT_TRUE(playListActions.empty());
    EXPECT_EQ(user.messages, std::vector<AString>{AString("Nothing to Sync!")});
    EXPECT_EQ(set.GetSyncCount(), 1);
    EXPECT_TRUE(fs::exists(PodRoot() + "/Lists/Pop"));
}

// A song whose file is gone fails its playlist's sync; the run goes on with the playlists after it (the
// user is not asked to stop) and ends as a failure that counts it.
TEST_F(PlayListScenario, ARunThatGoesOnAfterAFailureReturnsIt) {
    fs::remove(blue);
    ASSERT_EQ(set.AddSync(LibrarySync()), 0);
    user.QueueAnswers({kButtonYes});
    EXPECT_EQ(set.Run(CancelCallback()), kErrorActionsFailed);
    const std::string log = progress.PendingLog().ToUtf8();
    // Blue's replace in the library playlist and its copy into Jazz, of three songs and two playlists.
    EXPECT_NE(log.find("2 of 5 actions failed."), std::string::npos) << log;
    EXPECT_NE(log.find("Failed copying Rock; Miles; Kind; Blue to " + PodRoot() + "/Lists/Jazz/: -11160"),
              std::string::npos);
    EXPECT_EQ(log.find("Sync Completed."), std::string::npos);
    ASSERT_EQ(user.alerts.size(), 1U);
    EXPECT_EQ(user.alerts[0].message, "Delete file?");
    EXPECT_EQ(PodFolder("Lists/Jazz"), std::set<std::string>());
    EXPECT_EQ(PodFolder("Lists/rock"), (std::set<std::string>{"Paper.mp3", "Stone.mp3"}));
}

// An iPod whose database write is answered as told; it notes in one list when a database is written
// and when a list of it is read.
class RecordingPod : public PlayListPod {
public:
    using PlayListPod::PlayListPod;

    int SaveDatabase() override {
        events.push_back("database");
        return databaseResult;
    }
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override {
        events.push_back("read");
        return PlayListPod::ReadDirectory(callback, flag);
    }

    static inline std::vector<std::string> events;
    static inline int databaseResult = 0;
};

// Both ways with deletions: the databases are written first, then each side is read again into its
// snapshot; a database that cannot be written is the run's result, is shown, and leaves the snapshots.
TEST_F(PlayListScenario, TheDatabasesAreWrittenBeforeTheSnapshotsAndTheirFailureIsTheResult) {
    SongListFactory::Register(ADir::kTypePod,
                              [](AProgress* progress) { return std::make_unique<RecordingPod>(progress); });
    for (const int databaseResult : {0, kErrorWrite}) {
        SCOPED_TRACE(databaseResult);
        RecordingPod::events.clear();
        RecordingPod::databaseResult = databaseResult;
        SyncSet twoWaySet{&progress};
        twoWaySet.SetPresenter(&presenter);
        auto sync = LibrarySync();
        sync->SetDirection(kDirectionBoth);
        ASSERT_EQ(twoWaySet.AddSync(std::move(sync)), 0);
        const size_t logStart = progress.PendingLog().ToUtf8().size();
        const int result = twoWaySet.Run(CancelCallback());
        const auto firstWrite =
            std::find(RecordingPod::events.begin(), RecordingPod::events.end(), "database");
        ASSERT_NE(firstWrite, RecordingPod::events.end());
        const bool readAfterWrite =
            std::find(firstWrite, RecordingPod::events.end(), "read") != RecordingPod::events.end();
        const std::string log = progress.PendingLog().ToUtf8().substr(logStart);
        if (databaseResult == 0) {
            EXPECT_EQ(result, 0) << log;
            EXPECT_EQ(RecordingPod::events.back(), "read");
            continue;
        }
        EXPECT_EQ(result, kErrorWrite);
        EXPECT_FALSE(readAfterWrite);
        EXPECT_NE(log.find("Error: -15045: The file cannot be written."), std::string::npos);
        EXPECT_EQ(log.find("Sync Completed."), std::string::npos);
    }
}

// A playlist's name runs to the last "?" of its entry: a name may hold one of its own.
TEST_F(PlayListScenario, APlayListNameMayHoldAQuestionMark) {
    MakePlayList(u"Why?", {blue});
    ASyncPlayLists playLists(ADir::kTypePlayListsTunes, ADir::kTypePlayListsPod, &progress);
    auto library = LibrarySync();
    playLists.SetDirection(kDirection1To2);
    ASSERT_EQ(playLists.AttachSources(&dynamic_cast<ADirSong&>(library->GetDirectory1()),
                                      &dynamic_cast<ADirSong&>(library->GetDirectory2())),
              0);
    ASSERT_EQ(playLists.Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false), 0);
    EXPECT_EQ(PlayListActionLines(playLists),
              (Lines{"7 [|] -1 0", "1 [Jazz|Jazz] -1 0", "7 [Rock|rock] -1 0", "1 [Why?|Why?] -1 0"}));
}
