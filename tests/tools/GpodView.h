#pragma once
// An iPod as libgpod, an independent reader and writer of the format, makes it and reads it.

#include <cstdint>
#include <ctime>
#include <map>
#include <string>

// Each title with the file libgpod finds for it on the iPod (empty when it finds none) and the time it
// reads as the track's "date added", and the playlists by name with their sizes.
struct GpodView {
    std::map<std::string, std::string> files;
    std::map<std::string, time_t> added;
    std::map<std::string, int> playLists;
};

GpodView ReadWithGpod(const std::string& mountPoint);

// Prepares the folder as libgpod sets up a new iPod of that model ("MA147"): its music folders, its
// SysInfo and an empty database under `name`; no "iTunesPrefs". False when libgpod fails.
bool MakePodWithGpod(const std::string& mountPoint, const std::string& modelNumber, const std::string& name);
