// libgpod, an independent reader of iPod databases, reads what the iPod's song list wrote: a song copied
// into a music folder is a track whose file it finds, a deleted song is gone, and the playlists stay.
#include "GpodView.h"
#include "foundation/AString.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/TestSongFiles.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gpod/itdb.h>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

Itdb_Track* AddGpodTrack(Itdb_iTunesDB* db, const char* title, const char* location) {
    Itdb_Track* track = itdb_track_new();
    track->title = g_strdup(title);
    track->artist = g_strdup("Artist");
    track->album = g_strdup("Album");
    track->genre = g_strdup("Rock");
    track->ipod_path = g_strdup(location);
    itdb_track_add(db, track, -1);
    itdb_playlist_add_track(itdb_playlist_mpl(db), track, -1);
    return track;
}

TEST(ADirPodDBWithGpod, ItFindsTheCopiedSongAndLosesTheDeletedOne) {
    TempDir drive;
    std::filesystem::create_directories(drive.File("iPod_Control/iTunes"));
    WriteSongFile(drive.File("iPod_Control/Music/F00/ZETA.mp3"), MakeMp3(SongTags("Rock", "Artist", "Album", "Zeta")));
    WriteSongFile(drive.File("iPod_Control/Music/F01/KEEP.mp3"), MakeMp3(SongTags("Rock", "Artist", "Album", "Kept")));
    Itdb_iTunesDB* db = itdb_new();
    Itdb_Playlist* master = itdb_playlist_new("My iPod", FALSE);
    itdb_playlist_set_mpl(master);
    itdb_playlist_add(db, master, -1);
    AddGpodTrack(db, "Zeta", ":iPod_Control:Music:F00:ZETA.mp3");
    Itdb_Track* kept = AddGpodTrack(db, "Kept", ":iPod_Control:Music:F01:KEEP.mp3");
    Itdb_Playlist* favourites = itdb_playlist_new("Favourites", FALSE);
    itdb_playlist_add(db, favourites, -1);
    itdb_playlist_add_track(favourites, kept, -1);
    GError* error = nullptr;
    ASSERT_TRUE(itdb_write_file(db, drive.File("iPod_Control/iTunes/iTunesDB").c_str(), &error));
    itdb_free(db);

    ADirPodDB list;
    const AString root(drive.Path());
    ASSERT_EQ(0, list.Open(&root, 0, nullptr));
    list.Sort(1);
    const std::string song = drive.File("new.mp3");
    WriteSongFile(song, MakeMp3(SongTags("Jazz", "Band", "Live", "Brand New")));
    ASSERT_EQ(0, list.AddSong(AString(song), nullptr));
    ASSERT_EQ(0, list.DeleteFile(AString("\\Rock\\Artist\\Album\\Zeta\\mp3"), 0, 0));
    ASSERT_EQ(0, list.SaveDatabase());

    const GpodView view = ReadWithGpod(drive.Path());
    ASSERT_EQ(2u, view.files.size());
    EXPECT_EQ(drive.File("iPod_Control/Music/F01/KEEP.mp3"), view.files.at("Kept"));
    const std::string copy = view.files.at("Brand New");
    EXPECT_TRUE(copy.starts_with(drive.File("iPod_Control/Music/F"))) << copy;
    EXPECT_TRUE(std::filesystem::exists(copy)) << copy;
    EXPECT_EQ((std::map<std::string, int>{{"My iPod", 2}, {"Favourites", 1}}), view.playLists);
}

} // namespace
