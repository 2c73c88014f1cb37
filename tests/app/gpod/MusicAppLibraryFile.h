#pragma once
// "iTunes Music Library.xml" in the layout the music application writes: every key on a line of its
// own, the tracks by id, the library playlist with every track. The song files are the caller's.

#include <string>
#include <vector>

struct MusicAppSong {
    std::string file;
    std::string name;
    std::string artist;
    std::string album;
    std::string genre;
    std::string kind;
    int trackNumber = 0; // 0: the record names none
};

// Copies a song file tagged by an outside tool (tests/fixtures/tags) into the folder; its path.
std::string PlaceTaggedSong(const std::string& folder, const std::string& fixture);

// Writes the file into `itunesFolder`, with "iTunes Music" beside it as the music folder.
void WriteMusicAppLibraryFile(const std::string& itunesFolder, const std::vector<MusicAppSong>& songs);
