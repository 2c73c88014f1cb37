#pragma once
// A folder laid out as an iPod: "iPod_Control/iTunes/iTunesDB" with the iPod's name (its master
// playlist), its tracks and its playlists, and optionally "SysInfo" and "iTunesPrefs".

#include <cstdint>
#include <string>
#include <vector>

struct FakePodContent {
    std::u16string name;
    std::vector<std::u16string> playLists;
    int tracks = 0;
    std::string modelNumber; // "ModelNumStr" of SysInfo; none: no SysInfo
    bool prefs = false;      // an "iTunesPrefs" of 64 bytes of 0xFF
};

// The database bytes of that content.
std::vector<uint8_t> FakePodDatabase(const FakePodContent& content);
// Writes the iPod's files below `root` (made when missing).
void WriteFakePod(const std::string& root, const FakePodContent& content);
