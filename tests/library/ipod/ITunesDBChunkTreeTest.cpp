// The chunk tree: reading and writing every chunk, with every length checked and every byte this system
// does not understand kept.
#include "DatabaseBytes.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/entries/FileNameRule.h"
#include "library/ipod/ITunesDBHeader.h"
#include "library/ipod/ITunesDBReadContext.h"
#include "support/AStringPrinting.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace dbbytes;

namespace {

// Three tracks in the order the writer puts them (bucket by bucket), numbered 1 to 3 in that order.
std::vector<TrackFields> SampleTracks() {
    // Not in the order of their title buckets: a save must keep the database's own order.
    std::vector<TrackFields> tracks = {
        {0, u"Alpha", u"Artist", u"Album", u"Rock", u":iPod_Control:Music:F00:AAAA.mp3", 1000},
        {0, u"Beta", u"Artist", u"Album", u"Rock", u":iPod_Control:Music:F01:BBBB.mp3", 2000},
        {0, u"Gamma", u"Other", u"", u"", u":iPod_Control:Music:F02:CCCC.m4a", 3000},
    };
    EXPECT_FALSE(std::is_sorted(tracks.begin(), tracks.end(), [](const TrackFields& a, const TrackFields& b) {
        return NameChecksum(AString(a.title)) % 100 < NameChecksum(AString(b.title)) % 100;
    }));
    for (size_t i = 0; i < tracks.size(); ++i)
        tracks[i].id = static_cast<uint32_t>(i + 1);
    return tracks;
}

// Playlist items are numbered per playlist list: each bound item's group is the running count + 1. Its
// position object holds its place in its playlist.
Bytes SamplePlayLists() {
    return PlayListList({
        PlayList(u"My iPod", true, {Item(1, 2, 0), Item(2, 3, 1), Item(3, 4, 2)}),
        PlayList(u"Favourites", false, {Item(3, 5, 0), Item(1, 6, 1)}),
    });
}

Bytes SampleDatabase(uint32_t version = 15) {
    std::vector<Bytes> tracks;
    for (const TrackFields& track : SampleTracks())
        tracks.push_back(Track(track));
    return Database(version, {
                                 DataSet(1, TrackList(tracks)),
                                 DataSet(3, SamplePlayLists()),
                                 DataSet(2, SamplePlayLists()),
                                 DataSet(4, Chunk("mhla", 92, {{8, 0}}, {}, false)),
                                 DataSet(5, Chunk("mhlp", 92, {{8, 0}}, {}, false)),
                             });
}

ITunesDBReadContext LibraryMode() {
    ITunesDBReadContext context;
    context.withPlayLists = true;
    return context;
}

ITunesDBReadContext NamesMode() {
    ITunesDBReadContext context;
    context.namesMode = true;
    return context;
}

int ReadTree(ITunesDBHeader& root, const Bytes& bytes, const ITunesDBReadContext& context = LibraryMode()) {
    AMemFile stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return root.Read(stream, context);
}

Bytes WriteTree(ITunesDBHeader& root) {
    AMemFile stream;
    EXPECT_EQ(0, root.Write(stream));
    return Bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

Bytes RoundTrip(const Bytes& bytes) {
    ITunesDBHeader root;
    EXPECT_EQ(0, ReadTree(root, bytes));
    return WriteTree(root);
}

} // namespace

TEST(ITunesDBChunkTree, UnchangedDatabaseIsWrittenBackByteForByte) {
    const Bytes database = SampleDatabase();
    EXPECT_EQ(database, RoundTrip(database));
}

TEST(ITunesDBChunkTree, ReadsTracksPlaylistsAndBindsItems) {
    ITunesDBHeader root;
    ASSERT_EQ(0, ReadTree(root, SampleDatabase()));
    ASSERT_EQ(5, root.GetDataSetCount());
    const ITunesDBTrackList* tracks = root.GetTrackList();
    ASSERT_NE(nullptr, tracks);
    EXPECT_EQ(3, tracks->GetCount());
    std::vector<AString> titles;
    tracks->ForEachTrack([&titles](ITunesDBTrack& track) { titles.push_back(track.GetTitle()); });
    ASSERT_EQ(3u, titles.size());

    const ITunesDBTrack* gamma = nullptr;
    tracks->ForEachTrack([&gamma](ITunesDBTrack& track) {
        if (track.GetTitle() == "Gamma")
            gamma = &track;
    });
    ASSERT_NE(nullptr, gamma);
    EXPECT_EQ(AString("/iPod_Control/Music/F02/CCCC.m4a"), gamma->GetPath());
    EXPECT_EQ(AString("m4a"), gamma->GetExtension());
    EXPECT_EQ(3000u, gamma->GetFileSize());

    const std::vector<ITunesDBPlayListList*> lists = root.GetPlayListLists();
    ASSERT_EQ(2u, lists.size());
    const ITunesDBPlayList* favourites = lists[1]->GetPlayList(1);
    AString name;
    ASSERT_EQ(0, favourites->GetName(name));
    EXPECT_EQ(AString("Favourites"), name);
    ASSERT_EQ(2, favourites->GetItemCount());
    ASSERT_NE(nullptr, favourites->GetItem(0).GetTrack());
    EXPECT_EQ(3u, favourites->GetItem(0).GetTrack()->GetTrackId());
}

TEST(ITunesDBChunkTree, NewTreeUsesTheHeaderLengthsOtherReadersExpect) {
    ITunesDBHeader root;
    root.GetPlayListLists()[0]->GetMaster()->AddItem(nullptr);
    const Bytes written = WriteTree(root);
    // mhbd, mhsd type 1, mhlt, mhsd type 3, mhlp, mhyp, mhip, mhod ...
    EXPECT_EQ(104u, Get32(written, 4));
    EXPECT_EQ(written.size(), Get32(written, 8));
    EXPECT_EQ(3u, Get32(written, 20));
    EXPECT_EQ(15u, Get32(written, 16));
    uint32_t at = 104;
    EXPECT_EQ(96u, Get32(written, at + 4));
    EXPECT_EQ(1u, Get32(written, at + 12));
    EXPECT_EQ(92u, Get32(written, at + 96 + 4));
    at += Get32(written, at + 8);
    EXPECT_EQ(3u, Get32(written, at + 12));
    at += 96;
    EXPECT_EQ(92u, Get32(written, at + 4)); // mhlp
    at += 92;
    EXPECT_EQ(108u, Get32(written, at + 4)); // mhyp
    EXPECT_EQ(1u, Get32(written, at + 20));  // master
    at += 108;
    EXPECT_EQ(76u, Get32(written, at + 4)); // mhip
    EXPECT_EQ(24u, Get32(written, at + 76 + 4));
    EXPECT_EQ(44u, Get32(written, at + 76 + 8)); // position object: 20 zero bytes
}

TEST(ITunesDBChunkTree, KeepsLongHeadersUnknownStringsAndTails) {
    TrackFields fields = SampleTracks()[0];
    fields.headerLength = 300; // the bytes behind 244 are kept
    Bytes track = Track(fields);
    track[250] = 0xAB;
    // An unknown string type, a text object with a longer header, a text body too short for its string
    // header, and bytes behind the last child inside the track.
    const Bytes strings =
        Concat({Opaque(6, {1, 2, 3, 4, 5}), Text(13, u"Comment", 28), Opaque(1, {9, 9, 9, 9})});
    track.insert(track.end(), strings.begin(), strings.end());
    const Bytes tail = {0xEE, 0xEE, 0xEE};
    track.insert(track.end(), tail.begin(), tail.end());
    Put32(track, 12, Get32(track, 12) + 3);
    Put32(track, 8, static_cast<uint32_t>(track.size()));
    const Bytes database = Database(
        15,
        {DataSet(1, TrackList({track})), DataSet(2, PlayListList({PlayList(u"P", true, {Item(1, 2, 0)})}))},
        120);

    EXPECT_EQ(database, RoundTrip(database));

    ITunesDBHeader root;
    ASSERT_EQ(0, ReadTree(root, database));
    const ITunesDBTrack* read = nullptr;
    root.GetTrackList()->ForEachTrack([&read](ITunesDBTrack& t) { read = &t; });
    ASSERT_NE(nullptr, read);
    EXPECT_EQ(AString(fields.title), read->GetTitle()); // the first title object counts
    const ITunesDBString& comment = read->GetString(read->GetStringCount() - 2);
    EXPECT_EQ(13u, comment.GetType());
    EXPECT_EQ(AString("Comment"), comment.GetText());
    EXPECT_EQ(AString(), read->GetString(read->GetStringCount() - 1).GetText());
}

TEST(ITunesDBChunkTree, ShortTrackHeaderIsWrittenBackAtStandardLength) {
    TrackFields fields = SampleTracks()[0];
    fields.headerLength = 156;
    const Bytes database = Database(15, {DataSet(1, TrackList({Track(fields)}))});
    const Bytes written = RoundTrip(database);
    const uint32_t trackAt = 104 + 96 + 92;
    EXPECT_EQ(244u, Get32(written, trackAt + 4));
    EXPECT_TRUE(std::all_of(written.begin() + trackAt + 156, written.begin() + trackAt + 244,
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(written.size() - database.size(), 244u - 156u);
}

TEST(ITunesDBChunkTree, VersionOfTwentyOrMoreIsWrittenAsNineteen) {
    const Bytes written = RoundTrip(SampleDatabase(25));
    EXPECT_EQ(19u, Get32(written, 16));
    Bytes expected = SampleDatabase(19);
    EXPECT_EQ(expected, written);
}

TEST(ITunesDBChunkTree, DataSetsOfOtherTypesDoNotTakeARole) {
    // A newer database that opens with an album list (type 4): the track list is still the first data
    // set, and the album list is written back where it was.
    std::vector<Bytes> tracks;
    for (const TrackFields& track : SampleTracks())
        tracks.push_back(Track(track));
    const Bytes albums = DataSet(4, Chunk("mhla", 92, {{8, 0}}, {}, false));
    const Bytes database = Database(19, {albums, DataSet(1, TrackList(tracks)), DataSet(3, SamplePlayLists()),
                                         DataSet(2, SamplePlayLists())});
    ITunesDBHeader root;
    ASSERT_EQ(0, ReadTree(root, database));
    ASSERT_NE(nullptr, root.GetTrackList());
    EXPECT_EQ(3u, root.GetDataSet(2)->GetType());
    EXPECT_EQ(2u, root.GetDataSet(3)->GetType());
    EXPECT_EQ(database, WriteTree(root));
}

TEST(ITunesDBChunkTree, ItemOfAMissingTrackIsDroppedAndItemWithoutTrackKept) {
    std::vector<Bytes> tracks;
    for (const TrackFields& track : SampleTracks())
        tracks.push_back(Track(track));
    const Bytes groupHeader = Chunk("mhip", 76, {{12, 1}, {16, 256}, {20, 77}}, Text(1, u"Podcast"));
    const Bytes database = Database(
        15,
        {DataSet(1, TrackList(tracks)),
         DataSet(2, PlayListList({PlayList(u"My iPod", true,
                                           {Item(1, 2, 0), Item(99, 3, 1), groupHeader, Item(2, 4, 3)})}))});
    const Bytes expected =
        Database(15, {DataSet(1, TrackList(tracks)),
                      DataSet(2, PlayListList({PlayList(u"My iPod", true,
                                                        {Item(1, 2, 0), groupHeader, Item(2, 3, 2)})}))});
    EXPECT_EQ(expected, RoundTrip(database));
}

TEST(ITunesDBChunkTree, TracksAreRenumberedAndItemsFollow) {
    ITunesDBHeader root;
    ASSERT_EQ(0, ReadTree(root, SampleDatabase()));
    ITunesDBTrackList* tracks = root.GetTrackList();
    const ITunesDBTrack* first = nullptr;
    tracks->ForEachTrack([&first](ITunesDBTrack& track) {
        if (!first)
            first = &track;
    });
    for (ITunesDBPlayListList* list : root.GetPlayListLists()) {
        for (int i = 0; i < list->GetCount(); ++i)
            list->GetPlayList(i)->RemoveItemsOf(first);
    }
    tracks->Remove(first);
    const Bytes written = WriteTree(root);

    ITunesDBHeader again;
    ASSERT_EQ(0, ReadTree(again, written));
    std::vector<uint32_t> ids;
    again.GetTrackList()->ForEachTrack([&ids](ITunesDBTrack& track) { ids.push_back(track.GetTrackId()); });
    EXPECT_EQ((std::vector<uint32_t>{1, 2}), ids);
    for (ITunesDBPlayListList* list : again.GetPlayListLists()) {
        for (int i = 0; i < list->GetCount(); ++i) {
            const ITunesDBPlayList* playList = list->GetPlayList(i);
            for (int j = 0; j < playList->GetItemCount(); ++j)
                EXPECT_NE(nullptr, playList->GetItem(j).GetTrack());
        }
    }
    EXPECT_EQ(2, again.GetPlayListLists()[0]->GetMaster()->GetItemCount());
    EXPECT_EQ(1, again.GetPlayListLists()[0]->GetPlayList(1)->GetItemCount());
}

TEST(ITunesDBChunkTree, NamesModeReadsPlaylistNamesOnly) {
    ITunesDBHeader root;
    ASSERT_EQ(0, ReadTree(root, SampleDatabase(), NamesMode()));
    EXPECT_EQ(nullptr, root.GetTrackList());
    const ITunesDBPlayList* master = root.GetPlayListLists()[0]->GetMaster();
    AString name;
    ASSERT_EQ(0, master->GetName(name));
    EXPECT_EQ(AString("My iPod"), name);
    EXPECT_EQ(0, master->GetItemCount());
    AMemFile out;
    EXPECT_EQ(kErrorDataSetBodyNotRead, root.Write(out));
}

TEST(ITunesDBChunkTree, LibraryModeWithoutPlaylistsStopsAfterTheTrackList) {
    ITunesDBReadContext context;
    ITunesDBHeader root;
    ASSERT_EQ(0, ReadTree(root, SampleDatabase(), context));
    EXPECT_EQ(1, root.GetDataSetCount());
    EXPECT_EQ(3, root.GetTrackList()->GetCount());
}

TEST(ITunesDBChunkTree, CancelStopsTheReading) {
    ITunesDBReadContext context = LibraryMode();
    context.cancel = [] { return 1; };
    ITunesDBHeader root;
    EXPECT_EQ(kUserCancel, ReadTree(root, SampleDatabase(), context));
}

// Every length from the file is checked before it is used: known fields <= header length <= total
// length <= bytes left in the parent.
TEST(ITunesDBChunkTree, LengthsOutsideTheirBoundsAreTheChunksReadError) {
    const Bytes good = SampleDatabase();
    const uint32_t dataSetAt = 104;
    const uint32_t trackListAt = dataSetAt + 96;
    const uint32_t trackAt = trackListAt + 92;
    const uint32_t stringAt = trackAt + 244;
    struct Case {
        const char* what;
        uint32_t offset;
        uint32_t value;
        int library;
        int names;
    };
    const uint32_t size = static_cast<uint32_t>(good.size());
    const Case cases[] = {
        {"root header shorter than its fields", 4, 20, kErrorNotDatabase, kErrorNotDatabaseNames},
        {"root total beyond the file", 8, size + 1, kErrorNotDatabase, kErrorNotDatabaseNames},
        {"root total shorter than its header", 8, 50, kErrorNotDatabase, kErrorNotDatabaseNames},
        {"data set of total length 0", dataSetAt + 8, 0, kErrorNotDataSet, kErrorNotDataSetNames},
        {"data set header beyond its total", dataSetAt + 4, 0x10000, kErrorNotDataSet, kErrorNotDataSetNames},
        {"data set total beyond the root", dataSetAt + 8, size, kErrorNotDataSet, kErrorNotDataSetNames},
        {"track list header beyond the data set", trackListAt + 4, 0x100000, kErrorNotTrackList, 0},
        {"track header shorter than 12", trackAt + 4, 8, kErrorTrackHeaderLength, 0},
        {"track total beyond the list", trackAt + 8, 0x7FFFFFFF, kErrorTrackHeaderLength, 0},
        {"string total shorter than its header", stringAt + 8, 10, kErrorNotString, 0},
        {"string total beyond the track", stringAt + 8, 5000, kErrorNotString, 0},
        {"more tracks than bytes", trackListAt + 8, 0xFFFFFFFF, kErrorNotTrack, 0},
        {"more data sets than bytes", 20, 1000, kErrorNotDataSet, kErrorNotDataSetNames},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = good;
        Put32(bad, c.offset, c.value);
        ITunesDBHeader library;
        EXPECT_EQ(c.library, ReadTree(library, bad));
        ITunesDBHeader names;
        EXPECT_EQ(c.names, ReadTree(names, bad, NamesMode()));
    }
}

TEST(ITunesDBChunkTree, WrongTagsGiveTheChunksCode) {
    const Bytes good = SampleDatabase();
    struct Case {
        uint32_t offset;
        int library;
        int names;
    };
    const uint32_t playListListAt = 104 + Get32(good, 104 + 8) + 96;
    const Case cases[] = {
        {0, kErrorNotDatabase, kErrorNotDatabaseNames},
        {104, kErrorNotDataSet, kErrorNotDataSetNames},
        {104 + 96, kErrorNotTrackList, 0},
        {104 + 96 + 92, kErrorNotTrack, 0},
        {104 + 96 + 92 + 244, kErrorNotString, 0},
        {playListListAt, kErrorNotPlayListList, kErrorNotPlayListListNames},
        {playListListAt + 92, kErrorNotPlayList, kErrorNotPlayListNames},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        Bytes bad = good;
        bad[c.offset] = 'x';
        ITunesDBHeader library;
        EXPECT_EQ(c.library, ReadTree(library, bad));
        ITunesDBHeader names;
        EXPECT_EQ(c.names, ReadTree(names, bad, NamesMode()));
    }
}

TEST(ITunesDBChunkTree, TotalLengthBeyondItsFieldIsAWriteError) {
    ITunesDBChunkFrame frame;
    frame.Create("mhod", 24, true);
    AMemFile out;
    EXPECT_EQ(kErrorWrite, frame.WriteHeader(out, uint64_t{1} << 32));
    EXPECT_EQ(0u, out.GetSize());
}

TEST(ITunesDBChunkTree, TruncatedDatabaseFailsAtEveryLength) {
    const Bytes good = SampleDatabase();
    for (size_t length = 0; length < good.size(); length += 7) {
        Bytes cut(good.begin(), good.begin() + length);
        ITunesDBHeader root;
        EXPECT_NE(0, ReadTree(root, cut)) << length;
    }
}
