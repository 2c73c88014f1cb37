#include "library/itunes/ITunesPlayList.h"

#include "foundation/AFileList.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/itunes/FakeITunesObjects.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesSongIndex.h"
#include "library/itunes/RecordBytes.h"
#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

namespace {

Bytes Saved(const ITunesPlayList& list) {
    AMemFile stream;
    EXPECT_EQ(list.Serialize(stream), 0);
    return Bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

Bytes RecordWithIDs(uint32_t count, std::initializer_list<int32_t> ids, bool complete) {
    Bytes record;
    AppendU32(record, 0x00200000);
    AppendTextRecord(record, u"Party");
    AppendU32(record, 5);
    AppendU32(record, 0);
    AppendU32(record, count);
    for (int32_t id : ids)
        AppendU32(record, static_cast<uint32_t>(id));
    if (complete) {
        for (uint32_t word : {1u, 1u, 1u})
            AppendU32(record, word);
        AppendTextRecord(record, u"*\\*\\*\\");
    }
    return record;
}

std::shared_ptr<FakeTrack> Bind(ITunesSong& song, const ITunesBindingOwner* owner, int32_t trackID = 0) {
    auto track = std::make_shared<FakeTrack>();
    auto binding = std::make_unique<ITunesTrackBinding>();
    binding->track = track;
    binding->owner = owner;
    binding->trackID = trackID;
    song.AddTrack(std::move(binding));
    return track;
}

std::unique_ptr<ITunesSong> NamedSong(const char* name, uint32_t id) {
    auto song = std::make_unique<ITunesSong>();
    song->SetArtist(AString("Artist"), 0);
    song->SetName(AString(name), 0);
    song->SetDatabaseID(id);
    return song;
}

const FakeClient kLibrary;

} // namespace

TEST(ITunesPlayListTest, ANewPlayListSavesItsDefaults) {
    ITunesPlayList list;
    Bytes expected;
    AppendU32(expected, 0x00200000);
    AppendTextRecord(expected, u"");
    AppendU32(expected, 0xFFFFFFFF);
    AppendU32(expected, 0);
    AppendU32(expected, 0);
    for (uint32_t word : {0u, 0u, 1u})
        AppendU32(expected, word);
    AppendTextRecord(expected, u"*\\*\\");
    EXPECT_EQ(Saved(list), expected);
}

TEST(ITunesPlayListTest, LoadKeepsTheIdsUntilTheyAreResolved) {
    const Bytes record = RecordWithIDs(3, {10, -2, 30}, true);
    ITunesPlayList list;
    AMemFile reader(record.data(), static_cast<uint32_t>(record.size()));
    ASSERT_EQ(list.Load(reader), 0);
    EXPECT_EQ(list.GetSavedIDCount(), 3u);
    EXPECT_EQ(list.GetSavedID(1), -2);
    EXPECT_EQ(list.GetSongCount(), 0);
    EXPECT_EQ(list.GetID(), 5);
    EXPECT_EQ(list.GetFolderPattern(), AString(u"*\\*\\*\\"));
    // Saved again before the client resolved them, the ids are not lost.
    EXPECT_EQ(Saved(list), record);

    Bytes wrong = record;
    wrong[2] = 0x21;
    AMemFile wrongReader(wrong.data(), static_cast<uint32_t>(wrong.size()));
    EXPECT_EQ(list.Load(wrongReader), kErrorVersion);
    EXPECT_EQ(list.GetSavedIDCount(), 0u);
}

// The count arrives over the network: a false one costs nothing, and the ids kept are those read.
TEST(ITunesPlayListTest, AFalseIdCountEndsInAReadErrorWithTheIdsThatCame) {
    const Bytes record = RecordWithIDs(0xFFFFFFF0, {1, 2}, false);
    ITunesPlayList list;
    AMemFile reader(record.data(), static_cast<uint32_t>(record.size()));
    EXPECT_EQ(list.Load(reader), reader.ShortReadError());
    EXPECT_EQ(list.GetSavedIDCount(), 2u);
    EXPECT_EQ(list.GetSavedID(2), 0);
}

TEST(ITunesPlayListTest, FolderLayoutGivesThePattern) {
    ITunesPlayList list;
    list.SetFolderLayout({.genre = 1, .album = 1, .track = 0, .type = 1});
    EXPECT_EQ(list.GetFolderPattern(), AString(u"*\\*\\*\\"));
    list.SetFolderLayout({.genre = 0, .album = 0, .track = 0, .type = 1});
    EXPECT_EQ(list.GetFolderPattern(), AString(u"*\\"));
    list.SetFolderLayout({.genre = 1, .album = 0, .track = 1, .type = 0});
    EXPECT_EQ(list.GetFolderPattern(), AString(u"*\\*\\"));
}

TEST(ITunesPlayListTest, NameReadsAndWritesTheLivePlayList) {
    ITunesPlayList list;
    AString name;
    EXPECT_EQ(list.GetName(name, 1), kErrorInvalidElement);
    EXPECT_EQ(list.SetName(AString("x"), 1), kErrorInvalidElement);
    auto object = std::make_shared<FakePlayList>();
    object->name = AString("Live name");
    list.SetPlayListObject(object);
    ASSERT_EQ(list.GetName(name, 1), 0);
    EXPECT_EQ(name, AString("Live name"));
    ASSERT_EQ(list.SetName(AString("Renamed"), 1), 0);
    EXPECT_EQ(object->name, AString("Renamed"));
    object->behaviour = FakeTrack::Behaviour::Fail;
    EXPECT_EQ(list.SetName(AString("Lost"), 1), kErrorITunesCall);
    ASSERT_EQ(list.GetName(name, 0), 0);
    EXPECT_EQ(name, AString("Renamed"));
}

TEST(ITunesPlayListTest, AddingASongBindsItToTheNewTrack) {
    ITunesSong song;
    ITunesPlayList list;
    EXPECT_EQ(list.AddSongToPlayList(&song), kErrorInvalidElement);
    auto object = std::make_shared<FakePlayList>();
    list.SetPlayListObject(object);
    EXPECT_EQ(list.AddSongToPlayList(&song), kErrorInvalidElement);
    Bind(song, &kLibrary);
    ASSERT_EQ(list.AddSongToPlayList(&song), 0);
    ASSERT_EQ(song.GetTrackCount(), 2);
    EXPECT_EQ(song.GetTrack(1)->owner, &list);
    EXPECT_EQ(song.GetTrack(1)->kind, uint32_t(ITunesTrackBinding::kPlayList));
    EXPECT_EQ(song.GetTrack(1)->trackID, 77);
    EXPECT_EQ(list.GetSong(0), &song);

    object->givesTrack = false;
    EXPECT_EQ(list.AddSongToPlayList(&song), kErrorITunesRefused);
    object->behaviour = FakeTrack::Behaviour::Fail;
    EXPECT_EQ(list.AddSongToPlayList(&song), kErrorITunesCall);
    object->behaviour = FakeTrack::Behaviour::Throw;
    EXPECT_EQ(list.AddSongToPlayList(&song), kErrorAddToPlayList);
    EXPECT_EQ(list.GetSongCount(), 1);
    list.Unbind();
    EXPECT_EQ(song.GetTrackCount(), 1);
}

TEST(ITunesPlayListTest, RemoveSongTouchesOnlySongsBoundHere) {
    ITunesSong loose;
    ITunesPlayList list;
    list.AddSong(&loose);
    EXPECT_EQ(list.RemoveSong(0, 1), 0);
    EXPECT_EQ(list.GetSongCount(), 1);
    EXPECT_EQ(list.RemoveSong(3, 1), kErrorInvalidElement);

    ITunesSong song;
    Bind(song, &kLibrary);
    const auto track = Bind(song, &list);
    list.AddSong(&song);
    track->behaviour = FakeTrack::Behaviour::Fail;
    EXPECT_NE(list.RemoveSong(1, 1), 0);
    EXPECT_EQ(list.GetSongCount(), 2);
    track->behaviour = FakeTrack::Behaviour::Answer;
    ASSERT_EQ(list.RemoveSong(1, 1), 0);
    EXPECT_EQ(track->deletes, 1);
    EXPECT_EQ(list.GetSongCount(), 1);
    EXPECT_EQ(song.GetTrackCount(), 1);
    list.Unbind();
}

TEST(ITunesPlayListTest, DeleteSongRemovesAtMostTheAskedOccurrences) {
    ITunesSong song;
    Bind(song, &kLibrary);
    ITunesPlayList list;
    const auto first = Bind(song, &list, 1);
    const auto second = Bind(song, &list, 2);
    list.AddSong(&song);
    list.AddSong(&song);
    ASSERT_EQ(list.DeleteSong(&song, 1, 1, nullptr), 0);
    EXPECT_EQ(list.GetSongCount(), 1);
    EXPECT_EQ(first->deletes, 1);
    EXPECT_EQ(second->deletes, 0);
    EXPECT_EQ(song.GetTrackCount(), 2);

    // A binding without its track is looked up again through the client.
    song.GetTrack(1)->track.reset();
    FakeLookup lookup;
    EXPECT_EQ(list.DeleteSong(&song, -1, 1, nullptr), kErrorEndOfStream);
    lookup.tracksByTrackID[2] = second;
    ASSERT_EQ(list.DeleteSong(&song, -1, 1, &lookup), 0);
    EXPECT_EQ(second->deletes, 1);
    EXPECT_EQ(list.GetSongCount(), 0);
    EXPECT_EQ(song.GetTrackCount(), 1);
}

TEST(ITunesPlayListTest, UnbindFreesTheSongsOnlyItHeld) {
    ITunesSongIndex index;
    ITunesSong& libraryOwned = *index.Add(NamedSong("In the library", 1));
    Bind(libraryOwned, &kLibrary);
    ITunesSong* playListOnly = index.Add(NamedSong("Only here", 2));
    ITunesSong& neverBound = *index.Add(NamedSong("Never bound", 3));
    auto list = std::make_unique<ITunesPlayList>(&index);
    Bind(libraryOwned, list.get());
    Bind(*playListOnly, list.get());
    Bind(*playListOnly, list.get());
    list->AddSong(&libraryOwned);
    list->AddSong(playListOnly);
    list->AddSong(playListOnly);
    list->AddSong(&neverBound);
    list->AddSong(&neverBound);
    list->SetPlayListObject(std::make_shared<FakePlayList>());
    list->SortSongs(1);
    list.reset(); // the destructor unbinds; the sanitizer reports a song freed twice
    EXPECT_EQ(index.GetCount(), 2);
    EXPECT_EQ(index.Find(2), nullptr);
    EXPECT_EQ(libraryOwned.GetTrackCount(), 1);
    EXPECT_EQ(neverBound.GetTrackCount(), 0);
}

TEST(ITunesPlayListTest, SortOrdersTheEntriesByEntryText) {
    std::vector<std::unique_ptr<ITunesSong>> songs;
    ITunesPlayList list;
    for (const char* name : {"delta", "Alpha", "charlie", "Bravo"}) {
        songs.push_back(NamedSong(name, 1));
        list.AddSong(songs.back().get());
    }
    auto names = [&list] {
        std::vector<std::string> order;
        for (int i = 0; i < list.GetEntryCount(); ++i) {
            AString name;
            list.GetEntry(i)->GetName(name, 0);
            order.push_back(name.ToUtf8());
        }
        return order;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"delta", "Alpha", "charlie", "Bravo"}));
    list.SortSongs(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
    list.SortSongs(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
    list.SortSongs(0);
    EXPECT_EQ(names(), (std::vector<std::string>{"delta", "charlie", "Bravo", "Alpha"}));
    list.RemoveEntry(0);
    EXPECT_EQ(list.GetEntryCount(), 3);
    EXPECT_EQ(list.GetSongCount(), 4);
    EXPECT_EQ(list.GetEntry(3), nullptr);
}

// A playlist is walked beside other song lists, whose entries sort with their "?" tails: a title that
// is the start of another ("Song", "Song 2") must stand where it stands in those lists.
TEST(ITunesPlayListTest, SortAgreesWithTheSongListsOrder) {
    std::vector<std::unique_ptr<ITunesSong>> songs;
    ITunesPlayList list;
    for (const char* name : {"Song", "Song 2", "Songs"}) {
        songs.push_back(NamedSong(name, 1));
        list.AddSong(songs.back().get());
    }
    AFileList reference;
    for (const auto& song : songs)
        reference.Add(song->BuildEntry(kInitialFolderLayout, true), 0);
    for (const uint32_t ascending : {1u, 0u}) {
        list.SortSongs(ascending);
        reference.Sort(ascending != 0);
        for (int i = 0; i < list.GetEntryCount(); ++i) {
            EXPECT_EQ(list.GetEntry(i)->BuildEntry(kInitialFolderLayout, true), reference.GetName(i))
                << "ascending " << ascending << " at " << i;
        }
    }
}
