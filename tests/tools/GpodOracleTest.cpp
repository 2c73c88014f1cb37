// libgpod, an independent reader and writer of iPod databases, checks ours both ways: what it writes we
// read with the same tracks and playlists, and what we write it reads with the same tracks and playlists.
#include "foundation/AFile.h"
#include "foundation/AString.h"
#include "foundation/FileOps.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/PodSongInfo.h"
#include "platform/files/NativeFiles.h"
#include "platform/itunes/PodDatabase.h"
#include "support/ScopedTimeZone.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <gpod/itdb.h>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Track {
    std::string title;
    std::string artist;
    std::string path; // native, below the iPod's root
    uint32_t size;
    bool operator==(const Track&) const = default;
    bool operator<(const Track& other) const { return title < other.title; }
};

// Tracks sorted by title; each playlist by name, with the titles of its items in order (libgpod orders
// them by their position objects).
struct Content {
    std::vector<Track> tracks;
    std::map<std::string, std::vector<std::string>> playLists;
    bool operator==(const Content&) const = default;
};

void PrintTo(const Content& content, std::ostream* out) {
    for (const Track& track : content.tracks)
        *out << "\n  track " << track.title << " / " << track.artist << " / " << track.path << " / "
             << track.size;
    for (const auto& [name, titles] : content.playLists) {
        *out << "\n  playlist " << name << ":";
        for (const std::string& title : titles)
            *out << " " << title << ";";
    }
}

std::string Text(const gchar* text) {
    return text ? text : "";
}

std::string NativePath(const gchar* location) {
    std::string path = Text(location);
    std::replace(path.begin(), path.end(), ':', '/');
    return path;
}

Content ReadWithGpod(const std::string& file) {
    GError* error = nullptr;
    Itdb_iTunesDB* db = itdb_parse_file(file.c_str(), &error);
    EXPECT_NE(nullptr, db) << (error ? error->message : "");
    Content content;
    if (!db)
        return content;
    for (GList* t = db->tracks; t; t = t->next) {
        const auto* track = static_cast<Itdb_Track*>(t->data);
        content.tracks.push_back(
            {Text(track->title), Text(track->artist), NativePath(track->ipod_path), track->size});
    }
    for (GList* p = db->playlists; p; p = p->next) {
        const auto* playList = static_cast<Itdb_Playlist*>(p->data);
        std::vector<std::string>& titles = content.playLists[Text(playList->name)];
        for (GList* m = playList->members; m; m = m->next)
            titles.push_back(Text(static_cast<Itdb_Track*>(m->data)->title));
    }
    itdb_free(db);
    std::sort(content.tracks.begin(), content.tracks.end());
    return content;
}

Content ReadWithOurs(const ITunesDB& db) {
    Content content;
    db.GetRoot().GetTrackList()->ForEachTrack([&content](ITunesDBTrack& track) {
        content.tracks.push_back({track.GetTitle().ToUtf8(), track.GetArtist().ToUtf8(),
                                  track.GetPath().ToUtf8(), track.GetFileSize()});
    });
    std::sort(content.tracks.begin(), content.tracks.end());
    for (int i = -1; i < db.GetPlayListCount(); ++i) {
        const ITunesDBPlayList* playList =
            i < 0 ? db.GetRoot().GetPlayListLists()[0]->GetMaster() : db.GetPlayList(i, 2);
        AString name;
        playList->GetName(name);
        std::vector<std::string>& titles = content.playLists[name.ToUtf8()];
        for (int j = 0; j < playList->GetItemCount(); ++j)
            titles.push_back(playList->GetItem(j).GetTrack()->GetTitle().ToUtf8());
    }
    return content;
}

Itdb_Track* AddGpodTrack(Itdb_iTunesDB* db, const char* title, const char* artist, const char* location,
                         guint32 size) {
    Itdb_Track* track = itdb_track_new();
    track->title = g_strdup(title);
    track->artist = g_strdup(artist);
    track->album = g_strdup("Album");
    track->genre = g_strdup("Rock");
    track->ipod_path = g_strdup(location);
    track->size = size;
    itdb_track_add(db, track, -1);
    itdb_playlist_add_track(itdb_playlist_mpl(db), track, -1);
    return track;
}

// An iPod folder whose database libgpod wrote.
class GpodOracle : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(nativefiles::MakeDirectory(m_drive.File("iPod_Control")));
        ASSERT_TRUE(nativefiles::MakeDirectory(m_drive.File("iPod_Control/iTunes")));
        Itdb_iTunesDB* db = itdb_new();
        Itdb_Playlist* master = itdb_playlist_new("My iPod", FALSE);
        itdb_playlist_set_mpl(master);
        itdb_playlist_add(db, master, -1);
        Itdb_Track* zeta = AddGpodTrack(db, "Zeta", "Artist", ":iPod_Control:Music:F00:ZETA.mp3", 1000);
        AddGpodTrack(db, "Alpha", "Artist", ":iPod_Control:Music:F01:ALFA.m4a", 2000);
        Itdb_Track* song = AddGpodTrack(db, "Song", "Other", ":iPod_Control:Music:F02:SONG.mp3", 3000);
        Itdb_Playlist* favourites = itdb_playlist_new("Favourites", FALSE);
        itdb_playlist_add(db, favourites, -1);
        itdb_playlist_add_track(favourites, song, -1);
        itdb_playlist_add_track(favourites, zeta, -1);
        GError* error = nullptr;
        ASSERT_TRUE(itdb_write_file(db, DatabaseFile().c_str(), &error));
        itdb_free(db);
    }

    std::string DatabaseFile() const { return m_drive.File("iPod_Control/iTunes/iTunesDB"); }

    TempDir m_drive;
};

PodSongInfo Description(const char* title, const char* path, uint32_t size) {
    PodSongInfo song;
    song.title = song.displayName = title;
    song.artist = "New Artist";
    song.album = "New Album";
    song.genre = "Jazz";
    song.extension = "mp3";
    song.fileSize = size;
    song.duration = 90;
    song.path = path;
    return song;
}

} // namespace

TEST_F(GpodOracle, WeReadWhatItWrote) {
    ITunesDB db;
    const AString drive(m_drive.Path());
    ASSERT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
    EXPECT_EQ(ReadWithGpod(DatabaseFile()), ReadWithOurs(db));
    AString name;
    ASSERT_EQ(0, db.GetPodName(name));
    EXPECT_EQ("My iPod", name.ToUtf8());
}

TEST_F(GpodOracle, ItReadsWhatWeChangedAndSavedInOrder) {
    ITunesDB db;
    const AString drive(m_drive.Path());
    ASSERT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
    ITunesDBTrack* added = nullptr;
    ASSERT_EQ(0,
              db.AddTrack(Description("Brand New", "iPod_Control/Music/F03/NEWW.mp3", 4000), &added, true));
    db.SortEntries(true, nullptr);
    ITunesDBTrack* zeta = nullptr;
    ASSERT_EQ(1, db.FindTrack(&zeta, AString("\\Artist\\Album\\Zeta"), false));
    ITunesDBTrack* alpha = nullptr;
    ASSERT_EQ(1, db.FindTrack(&alpha, AString("\\Artist\\Album\\Alpha"), false));
    db.RemoveTrack(db.BuildEntry(*zeta, true));
    ITunesDBPlayList* favourites = db.GetPlayList(0, 2);
    favourites->AddItem(alpha);
    favourites->AddItem(added);
    ASSERT_EQ(0, db.Save(nullptr));

    const Content read = ReadWithGpod(DatabaseFile());
    EXPECT_EQ(ReadWithOurs(db), read);
    ASSERT_EQ(3u, read.tracks.size());
    EXPECT_EQ((Track{"Brand New", "New Artist", "/iPod_Control/Music/F03/NEWW.mp3", 4000}), read.tracks[1]);
    EXPECT_EQ((std::vector<std::string>{"Song", "Alpha", "Brand New"}), read.playLists.at("Favourites"));
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Song", "Brand New"}), read.playLists.at("My iPod"));
}

TEST_F(GpodOracle, ItReadsTheDateATrackWasAdded) {
    ITunesDB db;
    const AString drive(m_drive.Path());
    ASSERT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
    ASSERT_EQ(0,
              db.AddTrack(Description("Brand New", "iPod_Control/Music/F03/NEWW.mp3", 4000), nullptr, true));
    const time_t now = time(nullptr);
    ASSERT_EQ(0, db.Save(nullptr));

    Itdb_iTunesDB* read = itdb_parse_file(DatabaseFile().c_str(), nullptr);
    ASSERT_NE(nullptr, read);
    time_t added = 0;
    for (GList* t = read->tracks; t; t = t->next) {
        const auto* track = static_cast<Itdb_Track*>(t->data);
        if (Text(track->title) == "Brand New")
            added = track->time_added;
    }
    itdb_free(read);
    // A database file read outside an iPod has no time zone for libgpod: the local offset stays in the
    // date (GpodDates checks the dates on an iPod).
    constexpr time_t kOneDay = 24 * 60 * 60;
    EXPECT_LT(std::abs(static_cast<long long>(added - now)), kOneDay);
}

TEST_F(GpodOracle, ItReadsANewTreeWithTheItemsWeAdded) {
    ITunesDB db;
    ASSERT_EQ(0, db.AddTrack(Description("One", "iPod_Control/Music/F00/ONEE.mp3", 100), nullptr, true));
    ASSERT_EQ(0, db.AddTrack(Description("Two", "iPod_Control/Music/F00/TWOO.mp3", 200), nullptr, true));
    AFile file;
    ASSERT_EQ(0, file.Open(AString(DatabaseFile()), AFile::kModeWrite, false));
    ASSERT_EQ(0, file.SetLength(0));
    ASSERT_EQ(0, db.GetRoot().Write(file));
    ASSERT_EQ(0, file.Close(true));

    const Content read = ReadWithGpod(DatabaseFile());
    ASSERT_EQ(2u, read.tracks.size());
    // libgpod names a master playlist that has no name of its own.
    ASSERT_EQ(1u, read.playLists.size());
    EXPECT_EQ(2u, read.playLists.begin()->second.size());
}

namespace {

constexpr time_t kDay = 24 * 60 * 60;

// An iPod that libgpod set up, in New York's time zone (its rules written out, so that no zone database
// is needed) whatever the machine's own.
class GpodDates : public ::testing::Test {
protected:
    void SetUp() override {
        GError* error = nullptr;
        ASSERT_TRUE(itdb_init_ipod(m_drive.Path().c_str(), "MA147", "Dated", &error))
            << (error ? error->message : "");
    }

    // libgpod counts every time with the zone's offset of the moment it runs: the times compared here
    // lie in the season of now, a few days away.
    static time_t InThisSeason(time_t daysAway) {
        const time_t now = time(nullptr);
        for (const time_t candidate : {now - daysAway * kDay, now + daysAway * kDay}) {
            if (OffsetAt(candidate) == OffsetAt(now))
                return candidate;
        }
        return now;
    }

    static long OffsetAt(time_t instant) {
        std::tm local{};
        localtime_r(&instant, &local);
        return local.tm_gmtoff;
    }

    Itdb_Track* OnlyGpodTrack(Itdb_iTunesDB* db) const {
        EXPECT_EQ(1u, g_list_length(db->tracks));
        return db->tracks ? static_cast<Itdb_Track*>(db->tracks->data) : nullptr;
    }

    ScopedTimeZone m_zone{"EST5EDT,M3.2.0,M11.1.0"};
    TempDir m_drive;
};

} // namespace

TEST_F(GpodDates, ItReadsTheDatesWeWrite) {
    ITunesDB db;
    const AString drive(m_drive.Path());
    ASSERT_EQ(0, db.ReadLibrary(&drive, true, nullptr, nullptr));
    PodSongInfo song = Description("Dated", "iPod_Control/Music/F00/DATE.mp3", 4000);
    const time_t modified = InThisSeason(3);
    song.modTime = UnixToMacTime(modified);
    const time_t before = time(nullptr);
    ASSERT_EQ(0, db.AddTrack(song, nullptr, true));
    const time_t after = time(nullptr);
    ASSERT_EQ(0, db.Save(nullptr));

    Itdb_iTunesDB* read = itdb_parse(m_drive.Path().c_str(), nullptr);
    ASSERT_NE(nullptr, read);
    const Itdb_Track* track = OnlyGpodTrack(read);
    ASSERT_NE(nullptr, track);
    EXPECT_GE(track->time_added, before - 2);
    EXPECT_LE(track->time_added, after + 2);
    EXPECT_EQ(modified, track->time_modified);
    itdb_free(read);
}

TEST_F(GpodDates, WeReadTheDatesItWrites) {
    const time_t added = InThisSeason(2);
    const time_t modified = InThisSeason(3);
    const time_t played = InThisSeason(1);
    Itdb_iTunesDB* db = itdb_parse(m_drive.Path().c_str(), nullptr);
    ASSERT_NE(nullptr, db);
    Itdb_Track* track = AddGpodTrack(db, "Dated", "Artist", ":iPod_Control:Music:F00:DATE.mp3", 4000);
    track->time_added = added;
    track->time_modified = modified;
    track->time_played = played;
    ASSERT_TRUE(itdb_write(db, nullptr));
    itdb_free(db);

    ITunesDB ours;
    const AString drive(m_drive.Path());
    ASSERT_EQ(0, ours.ReadLibrary(&drive, true, nullptr, nullptr));
    ours.GetRoot().GetTrackList()->ForEachTrack([&](ITunesDBTrack& read) {
        EXPECT_EQ(added, read.GetUnixTime(ITunesDBTrack::kDateAddedOffset));
        EXPECT_EQ(modified, read.GetUnixTime(ITunesDBTrack::kModTimeOffset));
        EXPECT_EQ(played, read.GetUnixTime(ITunesDBTrack::kLastPlayedOffset));
    });
    // The same dates as the music application's stand-in sees the iPod.
    ITunesDBPodDatabase pod(m_drive.Path());
    itunesapp::PodContent content;
    ASSERT_EQ(0, pod.Read(content));
    ASSERT_EQ(1u, content.tracks.size());
    EXPECT_EQ(modified, content.tracks[0].modifiedUnix);
    EXPECT_EQ(played, content.tracks[0].playedUnix);
}

TEST_F(GpodDates, ItReadsTheDatesTheMusicApplicationGives) {
    ITunesDBPodDatabase pod(m_drive.Path());
    itunesapp::PodContent content;
    ASSERT_EQ(0, pod.Read(content));
    itunesapp::PodTrack track;
    track.fields.name = u"Dated";
    track.pathOnPod = "iPod_Control/Music/F00/DATE.mp3";
    track.modifiedUnix = InThisSeason(3);
    track.playedUnix = InThisSeason(1);
    ASSERT_EQ(0, pod.AddTrack(track));
    ASSERT_EQ(0, pod.Save());

    Itdb_iTunesDB* read = itdb_parse(m_drive.Path().c_str(), nullptr);
    ASSERT_NE(nullptr, read);
    const Itdb_Track* gpodTrack = OnlyGpodTrack(read);
    ASSERT_NE(nullptr, gpodTrack);
    EXPECT_EQ(track.modifiedUnix, gpodTrack->time_modified);
    EXPECT_EQ(track.playedUnix, gpodTrack->time_played);
    itdb_free(read);
}
