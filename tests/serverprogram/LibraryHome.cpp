#include "LibraryHome.h"

#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string LibraryScript() {
    return "python3 " + Quoted(std::string(ORVANTIS_SERVERPROGRAM_TESTS) + "/library_file.py");
}

void RunScript(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("the library file could not be changed: " + command);
}

} // namespace

void LibraryHome::LayOut(const std::vector<HelperSong>& songs) const {
    std::string command = LibraryScript() + " write " + Quoted(LibraryFile()) + " " + Quoted(MusicFolder());
    std::filesystem::create_directories(MusicFolder());
    for (const HelperSong& song : songs) {
        const std::string file = FileOf(song);
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::filesystem::copy_file(FixturePath(song.fixture), file);
        command += " " + Quoted(file + "|" + song.name + "|" + song.artist + "|" + song.album + "|" +
                                song.genre + "|" + std::to_string(song.track));
    }
    RunScript(command);
}

void LibraryHome::Remove(const std::string& file) const {
    RunScript(LibraryScript() + " remove " + Quoted(LibraryFile()) + " " + Quoted(file));
}

std::set<std::string> LibraryHome::LibraryFiles() const {
    const std::string command = LibraryScript() + " read " + Quoted(LibraryFile());
    std::set<std::string> files;
    FILE* reader = popen(command.c_str(), "r");
    if (!reader)
        return files;
    char line[4096];
    while (fgets(line, sizeof line, reader)) {
        std::string file(line);
        if (!file.empty() && file.back() == '\n')
            file.pop_back();
        files.insert(file);
    }
    pclose(reader);
    return files;
}

std::set<std::string> LibraryHome::FilesBelowITunes() const {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(ITunesFolder())) {
        if (!entry.is_directory())
            files.insert(entry.path().string());
    }
    return files;
}
