#pragma once
// The description of a song file from which a track is added to the iPod database: the file's fields
// as its tags give them, the file's modification time and its path on the iPod. Its display name is
// the title the track gets.

#include "foundation/AString.h"
#include "library/tags/SongFields.h"

#include <cstdint>

struct PodSongInfo : SongFields {
    uint64_t modTime = 0; // seconds since 1904
    AString path;         // on the iPod, below its root
};
