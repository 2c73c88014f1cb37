#pragma once
// An iPod's database as libgpod, an independent reader of the format, reads it.

#include <map>
#include <string>

// Each title with the file libgpod finds for it on the iPod (empty when it finds none), and the
// playlists by name with their sizes.
struct GpodView {
    std::map<std::string, std::string> files;
    std::map<std::string, int> playLists;
};

GpodView ReadWithGpod(const std::string& mountPoint);
