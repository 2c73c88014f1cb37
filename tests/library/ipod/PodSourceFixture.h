#pragma once
// A mounted iPod that the music application shows as a source, for one test: a folder made a volume
// through ORVANTIS_EXTRA_VOLUMES, holding the database that libgpod wrote ("My iPod" with Zeta in F00,
// Alpha in F01 and "Song (Live)" in F02, which has no artist, album or genre; the playlist "Favourites"
// of "Song (Live)" and Zeta) and song files of ours. The application reads and changes it through our
// database layer, as the programs have it.

#include "library/itunes/TunesLibraryFixture.h"

#include <string>
#include <vector>

class IPod;

class PodSourceFixture : public TunesLibraryFixture {
protected:
    static constexpr const char* kPodName = "My iPod";

    void SetUp() override;
    void TearDown() override;

    std::string PodFile(const std::string& name) const { return mountPoint + "/" + name; }
    // A new mp3 outside the iPod; its native path.
    std::string NewSong(const std::string& name, const char* title) const;
    // A client bound to the iPod, with its drive and database read when asked.
    void Bind(IPod& pod, bool withDatabase = true) const;
    // The titles of the tracks the iPod's database holds, each with its file below the drive.
    std::vector<std::pair<std::string, std::string>> TracksOnPod() const;
    // Every file below a folder, sorted, named below it.
    static std::vector<std::string> FilesBelow(const std::string& folder);

    std::string mountPoint;

private:
    std::string m_savedVolumes;
};
