/* Writes the iPod databases of tests/fixtures/ipod with libgpod, an independent writer of the format.
 *   gpod_fixture FOLDER    writes FOLDER/gpod-three-tracks.itdb and FOLDER/gpod-empty.itdb */
#include <gpod/itdb.h>
#include <stdio.h>

static Itdb_Track* AddTrack(Itdb_iTunesDB* db, const char* title, const char* artist, const char* album,
                            const char* genre, const char* location, guint32 size) {
    Itdb_Track* track = itdb_track_new();
    track->title = g_strdup(title);
    track->artist = g_strdup(artist);
    track->album = g_strdup(album);
    track->genre = g_strdup(genre);
    track->ipod_path = g_strdup(location);
    track->size = size;
    track->tracklen = 61000;
    track->bitrate = 128;
    track->year = 2001;
    itdb_track_add(db, track, -1);
    itdb_playlist_add_track(itdb_playlist_mpl(db), track, -1);
    return track;
}

static Itdb_iTunesDB* NewDatabase(const char* name) {
    Itdb_iTunesDB* db = itdb_new();
    Itdb_Playlist* master = itdb_playlist_new(name, FALSE);
    itdb_playlist_set_mpl(master);
    itdb_playlist_add(db, master, -1);
    return db;
}

static int Write(Itdb_iTunesDB* db, const char* folder, const char* name) {
    GError* error = NULL;
    gchar* path = g_build_filename(folder, name, NULL);
    const gboolean written = itdb_write_file(db, path, &error);
    if (!written)
        fprintf(stderr, "%s: %s\n", path, error ? error->message : "failed");
    g_free(path);
    itdb_free(db);
    return written ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: gpod_fixture FOLDER\n");
        return 2;
    }
    Itdb_iTunesDB* db = NewDatabase("My iPod");
    Itdb_Track* zeta =
        AddTrack(db, "Zeta", "Artist", "Album", "Rock", ":iPod_Control:Music:F00:ZETA.mp3", 1000);
    AddTrack(db, "Alpha", "Artist", "Album", "Rock", ":iPod_Control:Music:F01:ALFA.m4a", 2000);
    Itdb_Track* song = AddTrack(db, "Song (Live)", "", "", "", ":iPod_Control:Music:F02:SONG.mp3", 3000);
    Itdb_Playlist* favourites = itdb_playlist_new("Favourites", FALSE);
    itdb_playlist_add(db, favourites, -1);
    itdb_playlist_add_track(favourites, song, -1);
    itdb_playlist_add_track(favourites, zeta, -1);
    if (Write(db, argv[1], "gpod-three-tracks.itdb"))
        return 1;
    return Write(NewDatabase("Empty iPod"), argv[1], "gpod-empty.itdb");
}
