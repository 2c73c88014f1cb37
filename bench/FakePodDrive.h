#pragma once
// A fake iPod drive for the benchmarks: a fresh folder with a database written by our own layer, whose
// tracks' files lie in the iPod's music folders.

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/ipod/ITunesDBPlayListList.h"
#include "library/ipod/PodSongInfo.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace benchpod {

inline constexpr int kMusicFolders = 50;
inline constexpr const char* kPodName = "Bench iPod";

// A fresh folder for the run, removed at its end.
class BenchFolder {
public:
    explicit BenchFolder(const char* name)
        : m_path((std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid())))
                     .string()) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~BenchFolder() { std::filesystem::remove_all(m_path); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The database of "Bench iPod" with `tracks` tracks, each with an empty file in a music folder.
inline bool WriteDatabase(const std::string& root, int tracks) {
    ITunesDB db;
    for (ITunesDBPlayListList* list : db.GetRoot().GetPlayListLists())
        list->GetMaster()->SetName(AString(kPodName));
    for (int i = 0; i < tracks; ++i) {
        PodSongInfo song;
        song.title = song.displayName = AString(("Title " + std::to_string(i)).c_str());
        song.artist = AString(("Artist " + std::to_string(i % 400)).c_str());
        song.album = AString(("Album " + std::to_string(i % 1500)).c_str());
        song.genre = i % 3 ? "Rock" : "Jazz";
        song.extension = "mp3";
        const std::string file =
            "iPod_Control/Music/F" + std::to_string(10 + i % kMusicFolders) + "/T" + std::to_string(i) + ".mp3";
        song.path = AString(file.c_str());
        song.fileSize = 4000000;
        song.duration = 240;
        song.bitRate = 128;
        if (db.AddTrack(song, nullptr, true) != 0)
            return false;
        WriteFile(root + "/" + file, "");
    }
    std::filesystem::create_directories(root + "/iPod_Control/iTunes");
    AMemFile tree;
    AFile file;
    return db.GetRoot().Write(tree) == 0 &&
           file.Open(AString((root + "/iPod_Control/iTunes/iTunesDB").c_str()), AFile::kModeWrite, false) == 0 &&
           file.SetLength(0) == 0 && file.Write(tree.GetBuffer(), tree.GetSize()) == 0 && file.Close(true) == 0;
}

} // namespace benchpod
