#pragma once
// The test's own music library as a user fills it in the music application: tagged song files added
// to the library, playlists of them, and what the library and an iPod's database hold afterwards.

#include <map>
#include <string>
#include <vector>

struct TestSongTags;

// Writes a tagged mp3 at `path` (its folders made) and adds it to the library; the path.
std::string AddLibrarySong(const std::string& path, const TestSongTags& tags);
// A user playlist of the library holding the songs of those files, in that order.
void MakeLibraryPlayList(const std::u16string& name, const std::vector<std::string>& paths);
// The files of the library's songs, and of a playlist's, as the music application lists them.
std::vector<std::string> LibraryFiles();
std::vector<std::string> PlayListFiles(const std::u16string& name);
// The tracks of an iPod's database as our database layer reads it: title -> the file it names
// below the iPod's root.
std::multimap<std::string, std::string> PodTracks(const std::string& podRoot);
