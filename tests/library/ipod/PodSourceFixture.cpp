#include "library/ipod/PodSourceFixture.h"

#include "library/ipod/IPod.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/itunes/ITunesTagReader.h"
#include "library/songlists/TestSongFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

void PodSourceFixture::SetUp() {
    TunesLibraryFixture::SetUp();
    mountPoint = dir.File("pod");
    fs::create_directories(PodFile("iPod_Control/iTunes"));
    WriteBytes(PodFile("iPod_Control/iTunes/iTunesDB"), FixtureBytes("ipod/gpod-three-tracks.itdb"));
    WriteSongFile(PodFile("iPod_Control/Music/F00/ZETA.mp3"),
                  MakeMp3(SongTags("Rock", "Artist", "Album", "Zeta")));
    WriteSongFile(PodFile("iPod_Control/Music/F01/ALFA.m4a"),
                  MakeMp4(SongTags("Rock", "Artist", "Album", "Alpha"), 64));
    WriteSongFile(PodFile("iPod_Control/Music/F02/SONG.mp3"), MakeUntaggedMp3(4));
    const char* volumes = std::getenv("ORVANTIS_EXTRA_VOLUMES");
    m_savedVolumes = volumes ? volumes : "";
    setenv("ORVANTIS_EXTRA_VOLUMES", mountPoint.c_str(), 1);

    itunesapp::ITunesInstance::Setup setup;
    setup.tagReader = std::make_shared<ITunesTagReader>();
    setup.podOpener = ITunesDBPodDatabase::Opener();
    setup.quietTime = std::chrono::milliseconds(0);
    setup.longestDelay = std::chrono::milliseconds(0);
    itunesapp::ITunesInstance::Install(setup);
}

void PodSourceFixture::TearDown() {
    TunesLibraryFixture::TearDown();
    if (m_savedVolumes.empty())
        unsetenv("ORVANTIS_EXTRA_VOLUMES");
    else
        setenv("ORVANTIS_EXTRA_VOLUMES", m_savedVolumes.c_str(), 1);
}

std::string PodSourceFixture::NewSong(const std::string& name, const char* title) const {
    const std::string path = dir.File("songs/" + name);
    WriteSongFile(path, MakeMp3(SongTags("Jazz", "Band", "Live", title)));
    return path;
}

void PodSourceFixture::Bind(IPod& pod, bool withDatabase) const {
    ASSERT_EQ(0, pod.Connect());
    ASSERT_EQ(0, pod.SelectPod(0));
    if (!withDatabase)
        return;
    pod.SetDrive(AString(mountPoint + "/"));
    ASSERT_EQ(0, pod.ReadPodDB(nullptr, nullptr));
}

std::vector<std::pair<std::string, std::string>> PodSourceFixture::TracksOnPod() const {
    ITunesDB database;
    const AString drive(mountPoint);
    EXPECT_EQ(0, database.ReadLibrary(&drive, true, nullptr, nullptr));
    std::vector<std::pair<std::string, std::string>> tracks;
    if (const ITunesDBTrackList* list = database.GetRoot().GetTrackList()) {
        list->ForEachTrack([&](ITunesDBTrack& track) {
            tracks.emplace_back(track.GetTitle().ToUtf8(), track.GetPath().ToUtf8());
        });
    }
    std::sort(tracks.begin(), tracks.end());
    return tracks;
}

std::vector<std::string> PodSourceFixture::FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_regular_file())
            files.push_back(it->path().string().substr(folder.size()));
    }
    std::sort(files.begin(), files.end());
    return files;
}
