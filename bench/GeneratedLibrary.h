#pragma once
// A generated library file of the music application for the benchmarks: songs with every field the
// clients read, and 200 playlists of 250 songs each.

#include "platform/itunes/LibraryFile.h"
#include "platform/itunes/MediaModel.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace benchlibrary {

inline constexpr int kPlaylists = 200;
inline constexpr int kSongsPerPlaylist = 250;
inline constexpr int64_t kFirstDate = 1104537600; // 2005-01-01

inline itunesapp::TrackRecord GeneratedTrack(int i) {
    itunesapp::TrackRecord track;
    track.id = 1000 + i;
    track.name = "Title of song number " + std::to_string(i);
    track.artist = "Artist " + std::to_string(i % 900);
    track.album = "Album " + std::to_string(i % 4000) + " & Friends";
    track.genre = i % 3 ? "Rock" : "Jazz";
    track.composer = i % 5 ? "" : "Composer " + std::to_string(i % 300);
    track.trackNumber = static_cast<uint32_t>(i % 14 + 1);
    track.year = static_cast<uint32_t>(1960 + i % 60);
    track.bitRate = 192;
    track.totalTimeMs = static_cast<uint32_t>(150000 + i % 200000);
    track.size = static_cast<uint64_t>(3000000 + i % 5000000);
    track.modified = kFirstDate + i * 600LL;
    track.added = kFirstDate + i * 700LL;
    track.playedCount = static_cast<uint32_t>(i % 40);
    track.played = i % 40 ? kFirstDate + i * 900LL : itunesapp::kNoDate;
    track.rating = static_cast<uint32_t>(i % 6 * 20);
    track.persistentID = 0x1000000000000000ull + static_cast<uint64_t>(i);
    track.location = "/home/ann/Music/iTunes/iTunes Music/" + track.artist + "/" + track.album + "/" +
                     std::to_string(track.trackNumber) + " " + track.name + ".mp3";
    return track;
}

// One generated library file per size, made once and removed at exit.
class GeneratedLibrary {
public:
    explicit GeneratedLibrary(int songs) {
        char pattern[] = "/tmp/orvantis-bench-XXXXXX";
        m_folder = mkdtemp(pattern);
        itunesapp::MediaModel model;
        for (int i = 0; i < songs; ++i)
            model.InsertTrack(GeneratedTrack(i));
        for (int p = 0; p < kPlaylists; ++p) {
            itunesapp::PlaylistRecord playlist;
            playlist.id = 100 + p;
            playlist.persistentID = 0x2000000000000000ull + static_cast<uint64_t>(p);
            playlist.name = "Playlist " + std::to_string(p);
            for (int s = 0; s < kSongsPerPlaylist; ++s)
                playlist.items.push_back({1000 + (p * 7919 + s * 104729) % songs, 0});
            model.InsertPlaylist(std::move(playlist));
        }
        model.Complete(itunesapp::kLibraryPlaylistName);
        itunesapp::LibraryHeader header;
        header.musicFolderUrl = "file://localhost/home/ann/Music/iTunes/iTunes%20Music/";
        header.libraryPersistentID = "0123456789ABCDEF";
        std::filesystem::create_directories(m_folder + "/iTunes");
        std::ofstream(File(), std::ios::binary) << itunesapp::WriteLibraryText(header, model, kFirstDate);
    }
    ~GeneratedLibrary() { std::filesystem::remove_all(m_folder); }
    std::string File() const { return m_folder + "/iTunes/iTunes Music Library.xml"; }
    std::string Folder() const { return m_folder; }

    static GeneratedLibrary& Of(int songs) {
        static std::map<int, std::unique_ptr<GeneratedLibrary>> libraries;
        auto& library = libraries[songs];
        if (!library)
            library = std::make_unique<GeneratedLibrary>(songs);
        return *library;
    }

private:
    std::string m_folder;
};

} // namespace benchlibrary
