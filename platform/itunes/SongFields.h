#pragma once
// The fields of a song that the tag reader takes from a song file and that an iPod database holds for
// each of its tracks.

#include <cstdint>
#include <string>

namespace itunesapp {

struct SongFields {
    std::u16string name;
    std::u16string album;
    std::u16string artist;
    std::u16string genre;
    std::u16string composer;
    std::u16string comment;
    uint32_t trackNumber = 0;
    uint32_t year = 0;
    uint32_t bitRate = 0;     // kbit/s
    uint32_t totalTimeMs = 0; // playing time in milliseconds
};

} // namespace itunesapp
