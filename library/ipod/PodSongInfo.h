#pragma once
// The description of a song file from which a track is added to the iPod database: its tags (filled by
// ID3::CopyTo, whose field names it shares), the file's modification time and the path on the iPod.

#include "foundation/AString.h"

#include <cstdint>

struct PodSongInfo {
    AString title;
    AString album;
    AString artist;
    AString tvShow;
    AString genre;
    AString composer;
    AString comment;
    uint32_t trackNumber = 0;
    uint32_t discNumber = 0;
    uint32_t discCount = 0;
    uint32_t year = 0;
    uint32_t compilation = 0;
    uint32_t mediaKind = 0;
    uint32_t podcast = 0;
    uint32_t bitRate = 0;
    uint32_t duration = 0; // seconds
    uint32_t fileSize = 0;
    uint64_t modTime = 0; // seconds since 1904
    AString path;         // on the iPod, below its root
    AString extension;
    AString accountName;
    // The title, or the name the caller gave when the title is empty: the title the track gets.
    AString displayName;
};
