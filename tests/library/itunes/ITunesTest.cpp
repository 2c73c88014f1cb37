#include "library/itunes/ITunes.h"

#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "library/entries/SongFilters.h"
#include "library/itunes/ITunesDates.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesServices.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesTrackValues.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/itunes/TunesLibraryFixture.h"
#include "library/songlists/ADirSongDir.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "support/AStringPrinting.h"
#include "support/RecordingProgressViews.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

using itunesapp::Status;

namespace {

// The five songs of the fixture, added by the user.
class ITunesTest : public TunesLibraryFixture {
protected:
    void SetUp() override {
        TunesLibraryFixture::SetUp();
        AddFiveSongs();
    }

    // The client's songs by their files; a song deleted since the entries were made has none.
    std::map<std::string, ITunesSong*> SongsByPath(ITunes& client) {
        std::map<std::string, ITunesSong*> songs;
        client.SortEntries(true);
        for (int i = 0; i < client.GetSongCount(); ++i) {
            if (ITunesSong* song = client.GetSongAt(i))
                songs[song->GetPath().ToUtf8()] = song;
        }
        return songs;
    }

    ITunesTrackValues TrackInLibrary(const std::string& path) {
        return TrackIn(itunesapp::ITunesInstance::Running(), path);
    }

    static ITunes& Loaded(ITunes& client, const AString& playList = AString()) {
        EXPECT_EQ(client.Connect(), 0);
        EXPECT_EQ(client.Reload(true, playList, nullptr, CancelCallback(), nullptr), 0);
        return client;
    }
};

TEST_F(ITunesTest, TheMasterListHoldsEachSongOfTheLibraryWithItsFieldsAndBinding) {
    ITunes client;
    Loaded(client);
    std::map<std::string, ITunesSong*> songs = SongsByPath(client);
    ASSERT_EQ(songs.size(), 5u);
    EXPECT_EQ(FieldsOf(*songs[five]),
              "Five|An Album|Some Artist|Rock||200|1999|32|1|" + std::to_string(std::filesystem::file_size(five)) +
                  "|mp3");
    EXPECT_EQ(FieldsOf(*songs[episode]), "MP4 Title|MP4 Album|MP4 Artist|Rock|MP4 Composer|5|2004|0|0|"
                                         + std::to_string(std::filesystem::file_size(episode)) + "|m4a");
    EXPECT_EQ(FieldsOf(*songs[untagged]).substr(0, 11), "vbr_mpeg1||");
    for (const auto& [path, song] : songs) {
        EXPECT_EQ(song->GetModTime(), GetFileModTime(AString(path))) << path;
        EXPECT_EQ(song->GetPlayedCount(), 0u);
        EXPECT_EQ(song->GetPlayedDate(), 0u);
        EXPECT_EQ(client.FindSong(static_cast<int32_t>(song->GetDatabaseID())), song);
        ASSERT_EQ(song->GetTrackCount(), 1);
        const ITunesTrackBinding& binding = *song->GetTrack(0);
        EXPECT_EQ(binding.owner, &client);
        EXPECT_EQ(binding.kind, uint32_t{ITunesTrackBinding::kLibrary});
        EXPECT_EQ(binding.databaseID, static_cast<int32_t>(song->GetDatabaseID()));
        EXPECT_EQ(binding.trackID, binding.databaseID);
        EXPECT_EQ(binding.playListID, client.GetPlayListID());
        EXPECT_NE(binding.track, nullptr);
    }
    EXPECT_EQ(client.GetLibraryName(), "Library");
}

// The sync pairs songs by their entry texts: a song of the library must be named as the same file is
// named in a song folder.
TEST_F(ITunesTest, EntryTextsAreThoseOfTheSameFilesInASongFolder) {
    ITunes client;
    client.SetFolderLayout(EntryLayout{});
    Loaded(client);
    client.SortEntries(true);
    ADirSongDir folder;
    const AString root = dir.Text("songs");
    ASSERT_EQ(folder.Open(&root, 0, CancelCallback()), 0);
    folder.Sort(1);
    ASSERT_EQ(client.GetSongCount(), folder.GetCount());
    for (int i = 0; i < folder.GetCount(); ++i) {
        EXPECT_EQ(EntryWithoutId(client.GetSongAt(i)->BuildEntry(EntryLayout{}, false)),
                  EntryWithoutId(*folder.GetEntry(i)));
    }
}

TEST_F(ITunesTest, FindingByEntryWorksInEitherDirectionOfTheSort) {
    ITunes client;
    Loaded(client);
    for (const bool ascending : {true, false}) {
        client.SortEntries(ascending);
        for (int i = 0; i < client.GetSongCount(); ++i) {
            ITunesSong* song = client.GetSongAt(i);
            const AString entry = song->BuildEntry(client.GetFolderLayout(), true);
            EXPECT_EQ(client.FindSongByEntry(entry), song) << entry.ToUtf8();
            EXPECT_EQ(client.FindSongByEntry(entry.Mid(1)), song);
        }
        EXPECT_EQ(client.FindSongByEntry(AString("\\Nobody\\Nothing?1")), nullptr);
    }
}

TEST_F(ITunesTest, APlayListNameLoadsThatPlayListAloneAndAnUnknownNameIsAnError) {
    MakePlayList(u"Rock", {five, ubung});
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ASSERT_EQ(client.Reload(true, AString("Rock"), nullptr, CancelCallback(), nullptr), 0);
    EXPECT_EQ(client.GetSongCount(), 2);
    EXPECT_EQ(client.GetLibraryName(), "Rock");
    ASSERT_EQ(client.GetPlayListCount(), 1);
    EXPECT_EQ(client.GetPlayList(0)->GetSongCount(), 2);
    EXPECT_EQ(GetLibraryPlayListName(), "Library");
    for (const char* name : {"rock", "Nothing", "Library"}) {
        EXPECT_EQ(client.Reload(true, AString(name), nullptr, CancelCallback(), nullptr), kErrorInvalidPlayList)
            << name;
        EXPECT_EQ(client.GetSongCount(), 0);
    }
}

TEST_F(ITunesTest, APlayListLoadedAloneHoldsOneRecordForASongItNamesTwice) {
    MakePlayList(u"Twice", {five, five, bjork});
    ITunes client;
    Loaded(client, AString("Twice"));
    EXPECT_EQ(client.GetSongCount(), 2);
    ASSERT_EQ(client.GetPlayListCount(), 1);
    ITunesPlayList& twice = *client.GetPlayList(0);
    ASSERT_EQ(twice.GetSongCount(), 3);
    EXPECT_EQ(twice.GetSong(0), twice.GetSong(1));
    EXPECT_EQ(twice.GetSong(0)->GetTrackCount(), 3);
}

TEST_F(ITunesTest, APlayListHoldingASongTwiceHoldsOneRecordAtTwoPlaces) {
    MakePlayList(u"Twice", {five, five, bjork});
    ITunes client;
    Loaded(client);
    ASSERT_EQ(client.GetPlayListCount(), 1);
    ITunesPlayList& twice = *client.GetPlayList(0);
    ASSERT_EQ(twice.GetSongCount(), 3);
    EXPECT_EQ(twice.GetSong(0), twice.GetSong(1));
    EXPECT_EQ(twice.GetSong(0)->GetTrackCount(), 3); // the library's binding and one per place
    EXPECT_EQ(client.GetSongCount(), 5);
}

TEST_F(ITunesTest, FiltersLeaveSongsOut) {
    SongFilters filters;
    filters.types = {SongFilter::kDropListed, AString(), AString(":m4a:")};
    filters.artist = {SongFilter::kDropListed, AString(), AString(":Some Artist:")};
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ASSERT_EQ(client.Reload(false, AString(), &filters, CancelCallback(), nullptr), 0);
    std::set<std::string> paths;
    for (const auto& [path, song] : SongsByPath(client))
        paths.insert(path);
    EXPECT_EQ(paths, (std::set<std::string>{bjork, ubung, untagged}));
}

TEST_F(ITunesTest, TheLoadShowsItsProgressAndStopsWhenCancelled) {
    RecordingStatusView status;
    AProgress progress;
    progress.SetStatus(&status);
    progress.Start();
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ASSERT_EQ(client.Reload(false, AString(), nullptr, CancelCallback(), &progress), 0);
    EXPECT_EQ(status.line2, "5 / 5");
    EXPECT_NE(progress.PendingLog().Find("Loading iTunes Master List Done!"), -1);

    int asked = 0;
    EXPECT_EQ(client.Reload(false, AString(), nullptr, [&asked] { return ++asked == 3 ? 1 : 0; }, &progress),
              kUserCancel);
    EXPECT_EQ(client.GetSongCount(), 0);
    EXPECT_EQ(status.line2, "2 / 5");
}

TEST_F(ITunesTest, AnAddedFileCarriesThePlayDataOfItsKeyAndLastsInTheLibraryFile) {
    const std::string added = PutSong("v23_unsync.mp3", "Pop/unsync.mp3");
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ITunesSong* song = nullptr;
    const AString key("/3/0_0/60/*/*");
    ASSERT_EQ(client.AddFile(AString(added), &key, song), 0);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(client.FindSong(static_cast<int32_t>(song->GetDatabaseID())), song);
    EXPECT_EQ(song->GetPlayedCount(), 3u);
    EXPECT_EQ(song->GetRating(), 60u);
    EXPECT_EQ(song->GetPlayedDate(), 0u);
    EXPECT_EQ(song->GetPath(), AString(added));

    const auto other = OtherProgram();
    const ITunesTrackValues track = TrackIn(*other, added);
    EXPECT_EQ(track.playedCount, 3);
    EXPECT_EQ(track.rating, 60);
    EXPECT_EQ(track.played, 0.0);
    EXPECT_TRUE(track.comment.IsEmpty());
    EXPECT_EQ(track.ids.databaseID, static_cast<int32_t>(song->GetDatabaseID()));
}

TEST_F(ITunesTest, AddingAFileTheLibraryHoldsGivesItsSong) {
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ITunesSong* song = nullptr;
    // Not loaded: the song is read from the library.
    EXPECT_EQ(client.AddFile(AString(bjork), nullptr, song), kErrorDuplicate);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->GetPath(), AString(bjork));
    EXPECT_EQ(client.GetSongCount(), 1);
    ITunesSong* again = nullptr;
    EXPECT_EQ(client.AddFile(AString(bjork), nullptr, again), kErrorDuplicate);
    EXPECT_EQ(again, song);
    EXPECT_EQ(client.GetSongCount(), 1);
}

TEST_F(ITunesTest, ARawAacSongIsAddedAndAFileThatIsNoSongSaysSo) {
    const std::string aac = PutSong("adts_ffmpeg.aac", "Jazz/adts.aac");
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ITunesSong* song = nullptr;
    ASSERT_EQ(client.AddFile(AString(aac), nullptr, song), 0);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(FieldsOf(*song).substr(0, 35), "AAC Title|AAC Album|AAC Artist|Jazz");
    EXPECT_EQ(TrackInLibrary(aac).duration, 2);
    EXPECT_EQ(TrackInLibrary(aac).bitRate, 24);

    // The application makes no track of a file it cannot read: that is no duplicate.
    for (const char* name : {"noise.aac", "sound.wav"}) {
        const std::string path = dir.File(std::string("songs/") + name);
        WriteText(path, std::string(300, 'x'));
        ITunesSong* none = nullptr;
        EXPECT_EQ(client.AddFile(AString(path), nullptr, none), kErrorFileType) << name;
        EXPECT_EQ(none, nullptr);
    }
}

TEST_F(ITunesTest, AddFileErrors) {
    ITunes client;
    ITunesSong* song = nullptr;
    const std::string fresh = PutSong("v23_unsync.mp3", "Pop/unsync.mp3");
    EXPECT_EQ(client.AddFile(AString(fresh), nullptr, song), kErrorNotConnected);
    ASSERT_EQ(client.Connect(), 0);
    EXPECT_EQ(client.AddFile(AString(), nullptr, song), kErrorInvalidPath);
    EXPECT_EQ(client.AddFile(dir.Text("songs/none.mp3"), nullptr, song), kErrorFileNotFound);
    itunesapp::ITunesInstance::Running().RefuseAdds(3);
    EXPECT_EQ(client.AddFile(AString(fresh), nullptr, song), kErrorITunesRefused);
    EXPECT_EQ(song, nullptr);
    itunesapp::ITunesInstance::Running().RefuseAdds(2);
    EXPECT_EQ(client.AddFile(AString(fresh), nullptr, song), 0);
    EXPECT_NE(song, nullptr);
}

TEST_F(ITunesTest, AddFilesGivesASongForEachSongFile) {
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    const std::vector<AString> paths = {AString(PutSong("v23_unsync.mp3", "Pop/unsync.mp3")),
                                        AString(PutSong("tiny.jpg", "Pop/cover.jpg")),
                                        AString(PutSong("mp4_64bit.m4a", "Jazz/wide.m4a"))};
    std::vector<ITunesSong*> songs;
    ASSERT_EQ(client.AddFiles(paths, songs), 0);
    ASSERT_EQ(songs.size(), 2u);
    EXPECT_EQ(songs[0]->GetPath(), paths[0]);
    EXPECT_EQ(songs[1]->GetPath(), paths[2]);
    EXPECT_EQ(client.GetSongCount(), 2);
}

// The bindings an add makes name the track by its real ids: they find it again after a reconnect.
TEST_F(ITunesTest, PlayDataIsWrittenBackThroughTheIdsOfTheBinding) {
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ITunesSong* song = nullptr;
    ASSERT_EQ(client.AddFile(AString(PutSong("v23_unsync.mp3", "Pop/unsync.mp3")), nullptr, song), 0);
    const auto id = static_cast<int32_t>(song->GetDatabaseID());
    client.Disconnect();
    ASSERT_EQ(client.Connect(), 0);
    const uint64_t played = UnixToMacTime(1300000000);
    const AString key = AString("/7/") + AString::FromInt(static_cast<int32_t>(played)) + "_0/80/Nice/Rock";
    ASSERT_EQ(client.UpdateSongInfo(id, key, {true, true, false, false, true}), 0);
    ITunesTrackValues track = TrackInLibrary(song->GetPath().ToUtf8());
    EXPECT_EQ(track.playedCount, 7);
    EXPECT_EQ(track.rating, 0);
    EXPECT_EQ(track.comment, "Nice");
    EXPECT_TRUE(track.equalizer.IsEmpty());
    EXPECT_EQ(track.played, OleDateFromMacTime(played));

    // "*" leaves the text as it is; an empty key writes nothing.
    ASSERT_EQ(client.UpdateSongInfo(id, AString("/1/0_0/20/*/*"), {true, true, true, true, true}), 0);
    ASSERT_EQ(client.UpdateSongInfo(id, AString(), {true, true, true, true, true}), 0);
    track = TrackInLibrary(song->GetPath().ToUtf8());
    EXPECT_EQ(track.comment, "Nice");
    EXPECT_EQ(track.rating, 20);

    EXPECT_EQ(client.UpdateSongInfo(id + 1, key, {true, true, true, true, true}), kErrorITunesUpdateSongUnknown);
    EXPECT_EQ(client.UpdateSongInfo(id, AString("/1/0_0/500/*/*"), {false, false, true, false, false}),
              kErrorITunesCall);
}

TEST_F(ITunesTest, ADeletedSongLeavesTheLibraryItsPlayListsAndTheIndex) {
    MakePlayList(u"Mix", {five, bjork, five});
    ITunes client;
    Loaded(client);
    client.SortEntries(true);
    ITunesSong* song = SongsByPath(client)[five];
    const auto id = static_cast<int32_t>(song->GetDatabaseID());
    int entry = -1;
    for (int i = 0; i < client.GetSongCount(); ++i)
        entry = client.GetSongAt(i) == song ? i : entry;

    ASSERT_EQ(client.DeleteSong(id, true), 0);
    EXPECT_EQ(client.FindSong(id), nullptr);
    EXPECT_EQ(client.GetSongAt(entry), nullptr);
    EXPECT_EQ(client.GetPlayList(0)->GetSongCount(), 1);
    EXPECT_EQ(client.DeleteSong(id, true), kErrorITunesDeleteSongUnknown);
    ITunes other;
    Loaded(other);
    EXPECT_EQ(other.GetSongCount(), 4);
    EXPECT_EQ(other.GetPlayList(0)->GetSongCount(), 1);
}

// A binding whose playlist does not list the song, or a listed song without a binding, ends nothing
// in a loop: each removal goes on to the end.
TEST_F(ITunesTest, StrayBindingsAndUnboundSongsEndNoRemoval) {
    MakePlayList(u"Mix", {five});
    ITunes client;
    Loaded(client);
    ITunesPlayList& mix = *client.GetPlayList(0);
    ITunesSong* stray = SongsByPath(client)[bjork];
    auto binding = std::make_unique<ITunesTrackBinding>();
    binding->owner = &mix;
    binding->kind = ITunesTrackBinding::kPlayList;
    stray->AddTrack(std::move(binding));
    ASSERT_EQ(client.DeleteSong(static_cast<int32_t>(stray->GetDatabaseID()), false), 0);
    EXPECT_EQ(SongsByPath(client).size(), 4u);

    mix.AddSong(SongsByPath(client)[ubung]);
    ASSERT_EQ(client.DeletePlayList(0, true), 0);
    EXPECT_EQ(client.GetPlayListCount(), 0);
    EXPECT_EQ(SongsByPath(client).size(), 4u);
    ASSERT_EQ(client.LoadPlayLists(true), 0);
    EXPECT_EQ(client.GetPlayListCount(), 0);
}

TEST_F(ITunesTest, ASavedClientLoadsBackUnboundWithItsPlayListsAndLayout) {
    MakePlayList(u"Mix", {five, bjork, five});
    ITunes client;
    client.SetFolderLayout({.genre = 1, .album = 0, .track = 1, .type = 1, .option = 0});
    Loaded(client);
    AMemFile saved;
    ASSERT_EQ(client.Serialize(saved), 0);

    ITunes loaded;
    loaded.SetFolderLayout({.genre = 0, .album = 1, .track = 0, .type = 0, .option = 7});
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(loaded.Load(reader), 0);
    EXPECT_FALSE(loaded.IsConnected());
    EXPECT_EQ(loaded.GetSongCount(), 5);
    // The saved words come back; the track level and the fifth word are not saved.
    EXPECT_EQ(loaded.GetFolderLayout().genre, 1u);
    EXPECT_EQ(loaded.GetFolderLayout().album, 0u);
    EXPECT_EQ(loaded.GetFolderLayout().type, 1u);
    EXPECT_EQ(loaded.GetFolderLayout().track, 0u);
    EXPECT_EQ(loaded.GetFolderLayout().option, 7u);
    ASSERT_EQ(loaded.GetPlayListCount(), 1);
    const ITunesPlayList& mix = *loaded.GetPlayList(0);
    ASSERT_EQ(mix.GetSongCount(), 3);
    EXPECT_EQ(mix.GetSong(0), mix.GetSong(2));
    EXPECT_EQ(FieldsOf(*mix.GetSong(1)), FieldsOf(*SongsByPath(client)[bjork]));
    EXPECT_EQ(mix.GetSong(0)->GetTrack(0)->track, nullptr);
    AMemFile again;
    ASSERT_EQ(loaded.Serialize(again), 0);
    EXPECT_EQ(std::vector<uint8_t>(again.GetBuffer(), again.GetBuffer() + again.GetSize()),
              std::vector<uint8_t>(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize()));

    // A song that cannot be found by its ids stays where it is.
    EXPECT_EQ(loaded.DeleteSong(static_cast<int32_t>(mix.GetSong(1)->GetDatabaseID()), true), kErrorITunesCall);
    EXPECT_EQ(loaded.GetSongCount(), 5);
}

TEST_F(ITunesTest, ASavedClientWithFalseCountsFailsWithoutReadingMore) {
    ITunes client;
    Loaded(client);
    AMemFile saved;
    ASSERT_EQ(client.Serialize(saved), 0);
    std::vector<uint8_t> bytes(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize());
    const size_t countAt = 4 + 4 + 2 + 2 + 2 * 7; // version, then "Library" as a string record
    ASSERT_EQ(bytes[countAt], 5);
    bytes[countAt + 3] = 0x7F;
    ITunes loaded;
    AMemFile tooFewSongs(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(loaded.Load(tooFewSongs), kErrorVersion); // the playlist count is no song
    EXPECT_EQ(loaded.GetSongCount(), 0);
    AMemFile cut(bytes.data(), static_cast<uint32_t>(countAt + 4));
    EXPECT_EQ(loaded.Load(cut), kErrorEndOfStream);
    bytes[0] = 1;
    AMemFile wrongVersion(bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(loaded.Load(wrongVersion), kErrorVersion);
}

TEST_F(ITunesTest, PlayListsAreMadeRenamedAndDeleted) {
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ITunesPlayList* made = nullptr;
    ASSERT_EQ(client.CreatePlayList(AString("Made"), &made), 0);
    ASSERT_EQ(client.CreatePlayList(AString("Second")), 0);
    ASSERT_EQ(made->SetName(AString("Renamed"), 1), 0);
    ITunes other;
    ASSERT_EQ(other.LoadPlayLists(false), 0);
    ASSERT_EQ(other.GetPlayListCount(), 2);
    AString name;
    other.GetPlayList(0)->GetName(name, 1);
    EXPECT_EQ(name, "Renamed");
    EXPECT_EQ(other.GetPlayList(0)->GetID(), made->GetID());

    EXPECT_EQ(client.DeletePlayList(2, true), kErrorInvalidElement);
    EXPECT_EQ(client.DeletePlayList(0, true), 0);
    EXPECT_EQ(client.GetPlayListCount(), 1);
    EXPECT_EQ(client.DeletePlayListByName(AString("Nothing")), kErrorITunesCall);
    EXPECT_EQ(client.DeletePlayListByName(AString("Library")), kErrorITunesCall);
    EXPECT_EQ(client.DeletePlayListByName(AString("Second")), 0);
    EXPECT_EQ(client.GetPlayListCount(), 1); // the records stay as they were
    ASSERT_EQ(other.LoadPlayLists(false), 0);
    EXPECT_EQ(other.GetPlayListCount(), 0);
}

TEST_F(ITunesTest, LoadingPlayListsKeepsTheSongsOnlyWhenAsked) {
    MakePlayList(u"Mix", {five});
    ITunes client;
    Loaded(client);
    ASSERT_EQ(client.LoadPlayLists(true), 0);
    EXPECT_EQ(client.GetSongCount(), 5);
    ASSERT_EQ(client.GetPlayListCount(), 1);
    EXPECT_EQ(client.GetPlayList(0)->GetSongCount(), 0);
    ASSERT_EQ(client.LoadPlayLists(false), 0);
    EXPECT_EQ(client.GetSongCount(), 0);
    EXPECT_EQ(client.GetPlayListCount(), 1);
}

TEST_F(ITunesTest, ChangesAndQuittingReachTheEventTarget) {
    RecordingEventTarget target;
    ITunes client(&target);
    ASSERT_EQ(client.Connect(), 0);
    ITunesSong* song = nullptr;
    ASSERT_EQ(client.AddFile(AString(PutSong("v23_unsync.mp3", "Pop/unsync.mp3")), nullptr, song), 0);
    std::vector<ITunesDatabaseChange> changes = target.Changes();
    ASSERT_FALSE(changes.empty());
    const auto id = static_cast<int32_t>(song->GetDatabaseID());
    bool reported = false;
    for (const ITunesDatabaseChange& change : changes) {
        for (const itunesapp::ObjectIDs& changed : change.changed)
            reported = reported || (changed.trackID == id && changed.databaseID == id);
    }
    EXPECT_TRUE(reported);

    target.refuse = true;
    ASSERT_EQ(client.DeleteSong(id, true), 0);
    EXPECT_EQ(target.Changes().size(), changes.size());
    itunesapp::ITunesInstance::Running().Quit();
    EXPECT_EQ(target.Quits(), 1);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(ITunesTest, AClientWithoutTargetHearsNothing) {
    RecordingEventTarget target;
    {
        ITunes client(&target);
        ASSERT_EQ(client.Connect(), 0);
    }
    ITunes quiet;
    ASSERT_EQ(quiet.Connect(), 0);
    ASSERT_EQ(quiet.CreatePlayList(AString("Made")), 0);
    itunesapp::ITunesInstance::Running().Quit();
    EXPECT_TRUE(target.Changes().empty());
    EXPECT_EQ(target.Quits(), 0);
}

TEST_F(ITunesTest, TheConnectionFollowsTheApplication) {
    ITunes client;
    itunesapp::ITunesInstance::Running().SetBusy(true);
    EXPECT_EQ(client.Connect(), kErrorITunesBusy);
    EXPECT_FALSE(client.IsConnected());
    itunesapp::ITunesInstance::Running().SetBusy(false);
    ASSERT_EQ(client.Connect(), 0);
    itunesapp::ITunesInstance::Running().SetBusy(true);
    EXPECT_EQ(client.Connect(), 0); // a live connection is kept
    itunesapp::ITunesInstance::Running().SetBusy(false);
    int version = 0;
    EXPECT_EQ(client.GetVersionNumber(version), 0);
    EXPECT_EQ(version, 921);
    AString name;
    EXPECT_EQ(client.GetName(name, true), 0);
    EXPECT_EQ(name, "Library");

    itunesapp::ITunesInstance::Running().Quit();
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.Reload(false, AString(), nullptr, CancelCallback(), nullptr), kErrorNotConnected);
    EXPECT_EQ(client.GetVersionNumber(version), kErrorNotConnected);
    ASSERT_EQ(client.Connect(), 0);
    EXPECT_EQ(client.Reload(false, AString(), nullptr, CancelCallback(), nullptr), 0);
    EXPECT_EQ(client.GetSongCount(), 5);
}

TEST_F(ITunesTest, TheStartUpWiringReadsSongFilesWithOurTagReader) {
    InstallITunesServices();
    ITunes client;
    ASSERT_EQ(client.Connect(), 0);
    ITunesSong* song = nullptr;
    ASSERT_EQ(client.AddFile(AString(PutSong("id3v1_only.mp3", "Other/renamed.mp3")), nullptr, song), 0);
    AString name;
    song->GetName(name, 0);
    EXPECT_EQ(name, "Five");
    EXPECT_EQ(GetLibraryPlayListName(), "Library");
}

TEST(ITunesVersion, ThreeRoundsOfTheLeadingNumber) {
    const std::pair<const char*, int> cases[] = {{"7.6.2.9", 762}, {"10.1.2", 1012}, {"9.0", 900},
                                                 {"8", 888},       {"9.2.1", 921},   {"x", 0}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(ITunes::VersionNumberOf(AString(text)), number) << text;
}

TEST(ITunesEntryID, TheNumberAfterTheLastQuestionMark) {
    EXPECT_EQ(ITunes::DatabaseIDOfEntry(AString("\\A?b\\Title\\mp3?1234")), 1234);
    EXPECT_EQ(ITunes::DatabaseIDOfEntry(AString("77")), 77);
    EXPECT_EQ(ITunes::DatabaseIDOfEntry(AString("\\A\\Title")), 0);
}

TEST(ITunesName, WithoutRefreshAFreshClientGivesTheProcesssLibraryName) {
    ITunes client;
    AString name;
    EXPECT_EQ(client.GetName(name, false), 0);
    EXPECT_EQ(name, GetLibraryPlayListName());
}

} // namespace

namespace {

class UnreadableLibraryTest : public TunesLibraryFixture {};

} // namespace

TEST_F(UnreadableLibraryTest, ADamagedLibraryFileIsNamedNotTakenForACommunicationError) {
    WriteLibraryText("<plist><dict><key>Tracks</key><dict><key>1</key>");
    ITunes client;
    EXPECT_EQ(client.Connect(), kErrorLibraryUnreadable);
    const std::string file = dir.File("Music/iTunes/iTunes Music Library.xml");
    EXPECT_EQ(client.LibraryProblem().ToUtf8().rfind(file + ": ", 0), 0u) << client.LibraryProblem().ToUtf8();
    AString text("Error");
    EXPECT_EQ(GetErrorText(text, kErrorLibraryUnreadable), "Error: The iTunes library file cannot be read.");
}
