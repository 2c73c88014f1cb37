#pragma once
// A user's music library as another program keeps it: the library file below "<home>/Music/iTunes",
// written, changed and read by Python's property-list code (library_file.py), over song files made by
// real tools in its music folder. Both programs of a test get one.

#include <set>
#include <string>
#include <vector>

// One song of a library: a fixture file made by a real tool, filed in the music folder under `file`,
// with the names the library file gives it.
struct HelperSong {
    std::string fixture; // below tests/fixtures
    std::string file;    // below the music folder
    std::string name;
    std::string artist;
    std::string album;
    std::string genre;
    int track = 0;
};

class LibraryHome {
public:
    explicit LibraryHome(std::string home) : m_home(std::move(home)) {}

    // Copies the songs' files into the music folder and writes the library file naming them.
    void LayOut(const std::vector<HelperSong>& songs) const;

    std::string LibraryFile() const { return ITunesFolder() + "/iTunes Music Library.xml"; }
    std::string MusicFolder() const { return ITunesFolder() + "/iTunes Music"; }
    std::string FileOf(const HelperSong& song) const { return MusicFolder() + "/" + song.file; }
    std::string RemovedFiles() const { return ITunesFolder() + "/Removed Files"; }

    // The user deletes the song of `file` in the music application, with its file, while no program of
    // ours has the library open.
    void Remove(const std::string& file) const;
    // The file of every track of the library file.
    std::set<std::string> LibraryFiles() const;
    // Every file below "iTunes": songs, the library file, Removed Files.
    std::set<std::string> FilesBelowITunes() const;

private:
    std::string ITunesFolder() const { return m_home + "/Music/iTunes"; }

    std::string m_home;
};
