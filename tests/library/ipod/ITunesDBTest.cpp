// The iPod database object: reading a drive in both modes, its queries, entry texts, adding and removing
// tracks, and its record form.
#include "library/ipod/ITunesDB.h"

#include "DatabaseBytes.h"
#include "PodDrive.h"
#include "foundation/AFileList.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/AudioDataSize.h"
#include "library/entries/EntryText.h"
#include "library/entries/FileNameRule.h"
#include "library/entries/SongFilters.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/PodSongInfo.h"
#include "library/itunes/ITunesSong.h"
#include "platform/files/NativeFiles.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "support/TextRecordingProgress.h"

#include <ctime>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

PodSongInfo Song(const char* title, const char* artist = "Artist", const char* album = "Album",
                 const char* genre = "Rock", const char* path = "iPod_Control/Music/F00/SONG.mp3") {
    PodSongInfo song;
    song.title = song.displayName = title;
    song.artist = artist;
    song.album = album;
    song.genre = genre;
    song.path = path;
    AString extension;
    song.path.GetExtension(extension);
    song.extension = extension;
    song.fileSize = 1234;
    song.duration = 200;
    song.bitRate = 192;
    song.trackNumber = 3;
    return song;
}

ITunesDBTrack* Add(ITunesDB& db, const PodSongInfo& song) {
    ITunesDBTrack* track = nullptr;
    EXPECT_EQ(0, db.AddTrack(song, &track, true));
    return track;
}

std::vector<AString> Titles(const ITunesDBPlayList& playList) {
    std::vector<AString> titles;
    for (int i = 0; i < playList.GetItemCount(); ++i)
        titles.push_back(playList.GetItem(i).GetTrack()->GetTitle());
    return titles;
}

AString EntryWithHandle(ITunesDBTrack& track) {
    return track.BuildEntry(kInitialFolderLayout, AString(), true);
}

// The libgpod database on an iPod folder, read with its playlists.
class GpodDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        const AString root = m_drive.Root();
        ASSERT_EQ(0, m_db.ReadLibrary(&root, true, nullptr, nullptr));
    }

    ITunesDBTrack* Find(const char* entry) {
        m_db.SortEntries(true, nullptr);
        ITunesDBTrack* track = nullptr;
        m_db.FindTrack(&track, AString(entry), false);
        return track;
    }

    PodDrive m_drive{FixtureBytes("ipod/gpod-three-tracks.itdb")};
    ITunesDB m_db;
};

} // namespace

TEST(ITunesDB, ReadingReportsEveryTrackAndPlaylist) {
    PodDrive drive(FixtureBytes("ipod/gpod-three-tracks.itdb"));
    ITunesDB db;
    TextRecordingProgress progress;
    const AString root = drive.Root();
    ASSERT_EQ(0, db.ReadLibrary(&root, true, nullptr, &progress));
    const std::vector<AString> expected = {
        AString("Reading Library from iPod Database..."),    AString("Loading iPod Song Data... 1 of 3"),
        AString("Loading iPod Song Data... 2 of 3"),         AString("Loading iPod Song Data... 3 of 3"),
        AString("Reading Library from iPod Database Done!"), AString("Reading Playlist My iPod..."),
    };
    ASSERT_LT(expected.size(), progress.texts.size());
    EXPECT_EQ(expected,
              std::vector<AString>(progress.texts.begin(), progress.texts.begin() + expected.size()));
    EXPECT_EQ(AString("Reading Playlist Favourites Done!"), progress.texts.back());
}

TEST_F(GpodDatabase, AnswersTracksNameAndPlaylists) {
    EXPECT_EQ(3, m_db.GetSongCount());
    AString name;
    ASSERT_EQ(0, m_db.GetPodName(name));
    EXPECT_EQ(AString("My iPod"), name);
    EXPECT_EQ(1, m_db.GetPlayListCount());
    ASSERT_NE(nullptr, m_db.GetPlayList(0, 2));
    ASSERT_EQ(0, m_db.GetPlayList(0, 2)->GetName(name));
    EXPECT_EQ(AString("Favourites"), name);
    EXPECT_EQ((std::vector<AString>{AString("Song (Live)"), AString("Zeta")}),
              Titles(*m_db.GetPlayList(0, 3)));
    EXPECT_EQ(nullptr, m_db.GetPlayList(1, 2));
    EXPECT_EQ(nullptr, m_db.GetPlayList(0, 4));

    const ITunesDBTrack* zeta = Find("\\Artist\\Album\\Zeta");
    ASSERT_NE(nullptr, zeta);
    EXPECT_EQ(AString("/iPod_Control/Music/F00/ZETA.mp3"), zeta->GetPath());
    EXPECT_EQ(128u, zeta->GetBitRate());
    EXPECT_EQ(61u, zeta->GetDurationSeconds());
    EXPECT_EQ(AString("Rock"), zeta->GetGenre());
}

TEST_F(GpodDatabase, SavedDatabaseReadsTheSameAndSavesToTheSameBytes) {
    ASSERT_EQ(0, m_db.Save(nullptr));
    const std::vector<uint8_t> first = ReadBytes(m_drive.DatabaseFile());
    EXPECT_EQ(8u, dbbytes::Get32(first, 20)); // every data set libgpod wrote is kept
    EXPECT_EQ(19u, dbbytes::Get32(first, 16));

    ITunesDB again;
    const AString root = m_drive.Root();
    ASSERT_EQ(0, again.ReadLibrary(&root, true, nullptr, nullptr));
    EXPECT_EQ(3, again.GetSongCount());
    EXPECT_EQ(Titles(*m_db.GetPlayList(0, 2)), Titles(*again.GetPlayList(0, 2)));
    EXPECT_EQ(Titles(*m_db.GetRoot().GetPlayListLists()[0]->GetMaster()),
              Titles(*again.GetRoot().GetPlayListLists()[0]->GetMaster()));
    ASSERT_EQ(0, again.Save(nullptr));
    EXPECT_EQ(first, ReadBytes(m_drive.DatabaseFile()));
}

TEST_F(GpodDatabase, AddedTrackJoinsBothMasterPlaylists) {
    ITunesDBTrack* added =
        Add(m_db, Song("New", "Artist", "Album", "Rock", "iPod_Control\\Music\\F09\\NEWW.mp3"));
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(4, m_db.GetSongCount());
    for (ITunesDBPlayListList* list : m_db.GetRoot().GetPlayListLists()) {
        const ITunesDBPlayList* master = list->GetMaster();
        ASSERT_EQ(4, master->GetItemCount());
        EXPECT_EQ(added, master->GetItem(3).GetTrack());
    }
    EXPECT_EQ(2, m_db.GetPlayList(0, 2)->GetItemCount());
}

TEST_F(GpodDatabase, RemovedTrackLeavesEveryPlaylist) {
    ITunesDBTrack* zeta = Find("\\Artist\\Album\\Zeta");
    ASSERT_NE(nullptr, zeta);
    m_db.RemoveTrack(EntryWithHandle(*zeta));
    EXPECT_EQ(2, m_db.GetRoot().GetTrackList()->GetCount());
    EXPECT_EQ((std::vector<AString>{AString("Song (Live)")}), Titles(*m_db.GetPlayList(0, 2)));
    EXPECT_EQ((std::vector<AString>{AString("Song (Live)")}), Titles(*m_db.GetPlayList(0, 3)));
    for (ITunesDBPlayListList* list : m_db.GetRoot().GetPlayListLists())
        EXPECT_EQ(2, list->GetMaster()->GetItemCount());
    // A handle that names no live track changes nothing.
    m_db.RemoveTrack(EntryWithHandle(*Find("\\Artist\\Album\\Alpha")) + "0");
    EXPECT_EQ(2, m_db.GetRoot().GetTrackList()->GetCount());
}

TEST_F(GpodDatabase, DuplicateIsRefusedWithOrWithoutCreate) {
    PodSongInfo zeta = Song("Zeta", "artist", "ALBUM", "rock", "iPod_Control/Music/F05/OTHR.MP3");
    ITunesDBTrack* track = nullptr;
    EXPECT_EQ(kErrorDuplicate, m_db.AddTrack(zeta, &track, false));
    EXPECT_EQ(kErrorDuplicate, m_db.AddTrack(zeta, &track, true));
    EXPECT_EQ(nullptr, track);
    EXPECT_EQ(0, m_db.AddTrack(Song("Zeta 2"), &track, false));
    EXPECT_EQ(nullptr, track);
    EXPECT_EQ(3, m_db.GetSongCount());
}

TEST_F(GpodDatabase, FindsThePathOfASongBySizeAndTags) {
    ITunesSong song;
    song.SetName(AString("Zeta"), 0);
    song.SetArtist(AString("ARTIST"), 0);
    song.SetAlbum(AString("Album"), 0);
    song.SetGenre(AString("Rock"), 0);
    song.SetSize(1000);
    AString path;
    ASSERT_EQ(1, m_db.FindPathForSong(song, path));
    EXPECT_EQ(AString("/iPod_Control/Music/F00/ZETA.mp3"), path);
    song.SetSize(1001);
    EXPECT_EQ(0, m_db.FindPathForSong(song, path));
}

TEST_F(GpodDatabase, TrackWithoutArtistAlbumAndGenreIsNamedByItsAudioSize) {
    ASSERT_TRUE(nativefiles::MakeDirectory(m_drive.File("iPod_Control/Music")));
    ASSERT_TRUE(nativefiles::MakeDirectory(m_drive.File("iPod_Control/Music/F02")));
    const std::string file = m_drive.File("iPod_Control/Music/F02/SONG.mp3");
    WriteBytes(file, FixtureBytes("tags/id3v1_only.mp3"));
    const uint64_t audioSize = AudioDataSizeOf(AString(file));
    ASSERT_GT(audioSize, 0u);
    const AString entry = AString("\\") + AString::FromUInt64(audioSize) + "\\*\\Song (Live)";
    ITunesDBTrack* song = Find(entry.ToUtf8().c_str());
    ASSERT_NE(nullptr, song);
    // The size is read from the file once.
    ASSERT_EQ(0, DeleteFileLong(AString(file), false));
    EXPECT_EQ(entry, m_db.BuildEntry(*song, false));
}

TEST(ITunesDB, NamesModeReadsNamesOnlyAndCannotBeSaved) {
    PodDrive drive(FixtureBytes("ipod/gpod-three-tracks.itdb"));
    ITunesDB db;
    ASSERT_EQ(0, db.Read(drive.Root(), true));
    AString name, driveText;
    ASSERT_EQ(0, db.GetPodName(name));
    EXPECT_EQ(AString("My iPod"), name);
    db.GetDrive(driveText);
    EXPECT_EQ(drive.Root(), driveText);
    EXPECT_EQ(0, db.GetSongCount());
    EXPECT_EQ(kErrorInvalidElement, db.AddTrack(Song("X"), nullptr, true));
    EXPECT_EQ(kErrorNotReadForSave, db.Save(nullptr));

    ITunesDB byFile;
    ASSERT_EQ(0, byFile.Read(AString(FixturePath("ipod/gpod-empty.itdb")), false));
    ASSERT_EQ(0, byFile.GetPodName(name));
    EXPECT_EQ(AString("Empty iPod"), name);
}

TEST(ITunesDB, ReadingAVolumeWithoutDatabaseCreatesNothing) {
    TempDir volume;
    ITunesDB db;
    EXPECT_EQ(kErrorOpen, db.Read(AString(volume.Path()), true));
    const AString root(volume.Path());
    EXPECT_EQ(kErrorOpen, db.ReadLibrary(&root, true, nullptr, nullptr));
    EXPECT_EQ(kErrorNotReadForSave, db.Save(nullptr));
    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(volume.Path(), entries));
    EXPECT_TRUE(entries.empty());
}

TEST(ITunesDB, NewDatabaseHasNoNameAndNoPlaylists) {
    ITunesDB db;
    AString name;
    EXPECT_EQ(kErrorInvalidElement, db.GetPodName(name));
    EXPECT_EQ(0, db.GetPlayListCount());
    EXPECT_EQ(0, db.GetSongCount());
}

TEST(ITunesDB, FirstDataSetThatIsNoTrackListRefusesTracks) {
    using namespace dbbytes;
    const Bytes playListsFirst = Database(15, {DataSet(2, PlayListList({PlayList(u"P", true, {})}))});
    PodDrive drive(playListsFirst);
    ITunesDB db;
    const AString root = drive.Root();
    ASSERT_EQ(0, db.ReadLibrary(&root, true, nullptr, nullptr));
    EXPECT_EQ(kErrorNoTrackList, db.AddTrack(Song("X"), nullptr, true));
}

TEST(ITunesDB, SetPathStoresPathExtensionAndLocation) {
    ITunesDB db;
    ITunesDBTrack* track = Add(db, Song("T"));
    track->SetPath(AString("iPod_Control\\Music\\F01\\ABCD.mp3"));
    EXPECT_EQ(AString("/iPod_Control/Music/F01/ABCD.mp3"), track->GetPath());
    EXPECT_EQ(AString("mp3"), track->GetExtension());
    bool found = false;
    for (uint32_t i = 0; i < track->GetStringCount(); ++i) {
        if (track->GetString(i).GetType() == ITunesDBString::kLocation) {
            EXPECT_EQ(AString(":iPod_Control:Music:F01:ABCD.mp3"), track->GetString(i).GetText());
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST(ITunesDB, NewTrackCarriesTheDescription) {
    ITunesDB db;
    PodSongInfo song = Song("  Padded  ");
    song.displayName = "  Padded  ";
    song.year = 1999;
    song.modTime = 3000000000u;
    const int64_t before = std::time(nullptr);
    const ITunesDBTrack* track = Add(db, song);
    const int64_t after = std::time(nullptr);
    EXPECT_EQ(AString("Padded"), track->GetTitle());
    EXPECT_EQ(NameChecksum(AString("Padded")), track->GetTitleChecksum());
    EXPECT_EQ(200u, track->GetDurationSeconds());
    EXPECT_EQ(192u, track->GetBitRate());
    EXPECT_EQ(1234u, track->GetFileSize());
    const std::vector<uint8_t> header(track->GetHeaderBytes().begin(), track->GetHeaderBytes().end());
    ASSERT_EQ(244u, header.size());
    EXPECT_EQ(1u, dbbytes::Get32(header, 20));
    EXPECT_EQ(256u, dbbytes::Get32(header, 28));
    EXPECT_EQ(MacToUnixTime(3000000000u), track->GetUnixTime(ITunesDBTrack::kModTimeOffset));
    EXPECT_EQ(200000u, dbbytes::Get32(header, 40));
    EXPECT_EQ(3u, dbbytes::Get32(header, 44));
    EXPECT_EQ(1999u, dbbytes::Get32(header, 52));
    EXPECT_EQ(0xAC440000u, dbbytes::Get32(header, 60));
    // Dated when added.
    EXPECT_GE(track->GetUnixTime(ITunesDBTrack::kDateAddedOffset), before);
    EXPECT_LE(track->GetUnixTime(ITunesDBTrack::kDateAddedOffset), after);
}

TEST(ITunesDB, TitleWithFileNameCharactersIsKeptAndCountsAsUnderscores) {
    ITunesDB db;
    ITunesDBTrack* track = Add(db, Song("AC/DC: Why?"));
    EXPECT_EQ(AString("AC/DC: Why?"), track->GetTitle());
    EXPECT_EQ(NameChecksum(AString("AC_DC_ Why_")), track->GetTitleChecksum());
    EXPECT_EQ(AString("\\Rock\\Artist\\Album\\AC_DC_ Why_\\mp3"),
              track->BuildEntry({.genre = 1, .album = 1, .track = 0, .type = 1}, AString(), false));
}

TEST(ITunesDB, EntriesAreFoundWhateverElseBeginsLikeThem) {
    ITunesDB db;
    ITunesDBTrack* live = Add(db, Song("Song (Live)"));
    ITunesDBTrack* song = Add(db, Song("Song"));
    ITunesDBTrack* untitled = Add(db, Song(""));
    ITunesDBTrack* other = Add(db, Song("song", "Other"));
    for (const bool ascending : {true, false}) {
        SCOPED_TRACE(ascending);
        db.SortEntries(ascending, nullptr);
        EXPECT_EQ(4, db.GetEntryCount());
        ITunesDBTrack* found = nullptr;
        EXPECT_EQ(1, db.FindTrack(&found, AString("\\Artist\\Album\\Song"), false));
        EXPECT_EQ(song, found);
        EXPECT_EQ(1, db.FindTrack(&found, AString("Artist\\Album\\song (live)"), false));
        EXPECT_EQ(live, found);
        EXPECT_EQ(1, db.FindTrack(&found, AString("\\Artist\\Album\\*"), false));
        EXPECT_EQ(untitled, found);
        EXPECT_EQ(1, db.FindTrack(&found, EntryWithHandle(*other), true));
        EXPECT_EQ(other, found);
        EXPECT_EQ(0, db.FindTrack(&found, AString("\\Artist\\Album\\Son"), false));
        EXPECT_EQ(nullptr, found);
        EXPECT_EQ(0, db.FindTrack(&found, EntryWithHandle(*song) + "9", true));
    }
    // The order of a folder list sorting the same entry texts: both lists must walk in step.
    db.SortEntries(true, nullptr);
    std::vector<ITunesDBTrack*> order;
    for (int i = 0; i < db.GetEntryCount(); ++i)
        order.push_back(db.GetEntry(i));
    EXPECT_EQ((std::vector<ITunesDBTrack*>{untitled, live, song, other}), order);
    AFileList folderOrder;
    for (ITunesDBTrack* track : {song, other, untitled, live})
        folderOrder.Add(EntryWithHandle(*track), 0);
    folderOrder.Sort(true);
    for (int i = 0; i < folderOrder.GetCount(); ++i)
        EXPECT_EQ(EntryWithHandle(*order[i]), folderOrder.GetName(i));
    EXPECT_EQ(nullptr, db.GetEntry(4));
    db.RemoveEntry(0);
    EXPECT_EQ(3, db.GetEntryCount());
    EXPECT_EQ(4, db.GetSongCount());
    EXPECT_EQ(live, db.GetEntry(0));
    db.ClearEntries();
    EXPECT_EQ(4, db.GetEntryCount());
    EXPECT_EQ(4, db.GetSongCount());
}

TEST_F(GpodDatabase, SongCountFollowsEveryAddAndRemovalWhileTheEntriesStayPut) {
    const AString zeta = EntryWithHandle(*Find("\\Artist\\Album\\Zeta"));
    const AString alpha = EntryWithHandle(*Find("\\Artist\\Album\\Alpha"));
    ASSERT_NE(nullptr, Add(m_db, Song("New")));
    EXPECT_EQ(4, m_db.GetSongCount());
    m_db.RemoveTrack(zeta);
    m_db.RemoveTrack(alpha);
    EXPECT_EQ(2, m_db.GetSongCount());
    EXPECT_EQ(3, m_db.GetEntryCount());
    // The removed tracks' entries keep their places but name no track any more.
    int named = 0;
    for (int i = 0; i < m_db.GetEntryCount(); ++i)
        named += m_db.GetEntry(i) ? 1 : 0;
    EXPECT_EQ(1, named);
    ITunesDBTrack* found = nullptr;
    EXPECT_EQ(0, m_db.FindTrack(&found, zeta, true));
    EXPECT_EQ(0, m_db.FindTrack(&found, AString("\\Artist\\Album\\Alpha"), false));
    EXPECT_EQ(nullptr, found);
}

// The sorted list holds every track once, in the pairing order of the entry keys (A-Z folded), equal
// keys by handle, and each entry's text is the track's.
TEST(ITunesDB, ALongListIsSortedWholeInTheOrderOfItsEntryKeys) {
    constexpr int kTracks = 600;
    ITunesDB db;
    for (int i = 0; i < kTracks; ++i) {
        // Titles that differ in case only, and pairs of tracks with the same entry text.
        const int number = (i * 7919) % (kTracks / 2);
        const std::string title = (i % 3 ? "title " : "Title ") + std::to_string(number);
        const std::string artist = "Artist " + std::to_string(number % 37);
        const std::string path = "iPod_Control/Music/F01/T" + std::to_string(i) + ".mp3";
        // The genre keeps the two of a pair apart in the database but not in the entries.
        const char* genre = i < kTracks / 2 ? "Rock" : "Jazz";
        ASSERT_NE(nullptr, Add(db, Song(title.c_str(), artist.c_str(), "Album", genre, path.c_str()))) << i;
    }
    db.SetFolderLayout({.genre = 0, .album = 1, .track = 0, .type = 1});
    for (const bool ascending : {true, false}) {
        SCOPED_TRACE(ascending);
        db.SortEntries(ascending, nullptr);
        ASSERT_EQ(kTracks, db.GetEntryCount());
        std::set<ITunesDBTrack*> tracks;
        for (int i = 0; i < kTracks; ++i) {
            ITunesDBTrack* track = db.GetEntry(i);
            ASSERT_NE(nullptr, track);
            tracks.insert(track);
            const AString text(db.GetEntryText(i));
            ASSERT_EQ(db.BuildEntry(*track, true), text);
            if (i == 0)
                continue;
            const AString previous(db.GetEntryText(i - 1));
            const int byKey = CompareEntryKeys(previous, text);
            const bool handlesInOrder = (db.GetEntry(i - 1)->GetHandle() < track->GetHandle()) == ascending;
            ASSERT_TRUE(ascending ? byKey < 0 || (byKey == 0 && handlesInOrder)
                                  : byKey > 0 || (byKey == 0 && handlesInOrder))
                << previous.ToUtf8() << " / " << text.ToUtf8();
        }
        EXPECT_EQ(static_cast<size_t>(kTracks), tracks.size());
    }
}

TEST(ITunesDB, EntryHoldsTheTrackLevelWhenTheLayoutAsksForIt) {
    ITunesDB db;
    ITunesDBTrack* song = Add(db, Song("Song"));
    db.SetFolderLayout({.genre = 1, .album = 1, .track = 1, .type = 1});
    db.SortEntries(true, nullptr);
    ITunesDBTrack* found = nullptr;
    EXPECT_EQ(1, db.FindTrack(&found, AString("\\Rock\\Artist\\Album\\3\\Song\\mp3"), false));
    EXPECT_EQ(song, found);
}

TEST(ITunesDB, SortingKeepsOnlyTracksThatPassTheFilters) {
    ITunesDB db;
    Add(db, Song("Kept"));
    Add(db, Song("Wave", "Artist", "Album", "Rock", "iPod_Control/Music/F00/WAVE.wav"));
    Add(db, Song("Dropped", "Somebody"));
    SongFilters filters;
    filters.types = {SongFilter::kKeepListed, AString(":mp3:m4a:"), AString()};
    filters.artist = {SongFilter::kKeepListed, AString(":Artist:"), AString()};
    db.SortEntries(true, &filters);
    ASSERT_EQ(1, db.GetEntryCount());
    EXPECT_EQ(3, db.GetSongCount());
    EXPECT_EQ(AString("Kept"), db.GetEntry(0)->GetTitle());
}

TEST(ITunesDB, RecordFormSavesAndLoadsTheWholeDatabase) {
    PodDrive drive(FixtureBytes("ipod/gpod-three-tracks.itdb"));
    ITunesDB db;
    const AString root = drive.Root();
    ASSERT_EQ(0, db.ReadLibrary(&root, true, nullptr, nullptr));
    db.SetFolderLayout({.genre = 1, .album = 0, .track = 0, .type = 1});
    db.SetTempFolder(AString("/tmp/work"));
    AMemFile stream;
    ASSERT_EQ(0, db.Serialize(&stream));

    ITunesDB loaded;
    ASSERT_EQ(0, stream.Seek(0));
    ASSERT_EQ(0, loaded.Load(&stream));
    EXPECT_EQ(stream.GetSize(), stream.GetPosition());
    AString text;
    loaded.GetDrive(text);
    EXPECT_EQ(root, text);
    EXPECT_EQ(3, loaded.GetSongCount());
    ASSERT_EQ(0, loaded.GetPodName(text));
    EXPECT_EQ(AString("My iPod"), text);
    EXPECT_EQ(Titles(*db.GetPlayList(0, 2)), Titles(*loaded.GetPlayList(0, 2)));
    AMemFile again;
    ASSERT_EQ(0, loaded.Serialize(&again));
    EXPECT_EQ(std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize()),
              std::vector<uint8_t>(again.GetBuffer(), again.GetBuffer() + again.GetSize()));
}

TEST(ITunesDB, RecordWithAnotherVersionIsRefused) {
    AMemFile stream;
    recordio::WriteU32(stream, ITunesDB::kRecordVersion + 1);
    stream.Seek(0);
    ITunesDB db;
    EXPECT_EQ(kErrorVersion, db.Load(&stream));
}
