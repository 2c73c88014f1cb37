#pragma once
// The fields of one song file: what the tag readers fill (reset with = {}), what the tag record saves and
// sends, and what the iPod's song description and the iTunes song record are made of.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

// One embedded picture: where its image bytes lie in the file. The bytes themselves are not kept.
struct ID3Picture {
    enum Kind : uint32_t { kOther = 0, kPng = 1, kJpeg = 2 };

    uint64_t start = 0;  // file offset of the first image byte
    uint64_t end = 0;    // file offset of the last image byte
    uint64_t length = 0; // bytes of image data
    uint32_t kind = kOther;
    uint32_t reserved = 0;
};

struct SongFields {
    // Bits of tagKinds.
    enum TagKind : uint32_t {
        kTagID3v10 = 1,
        kTagID3v11 = 2, // ID3v1 with a track number
        kTagID3v22 = 4,
        kTagID3v23 = 8,
        kTagID3v24 = 16,
        kTagMP4WalkComplete = 32, // the MP4 item walk ran to the end of the file
    };
    static constexpr int32_t kMediaKindUnset = -1;
    static constexpr int32_t kMediaKindMovie = 9;
    static constexpr int32_t kMediaKindTVShow = 10;

    AString title;
    AString album;
    AString artist;
    AString tvShow;
    AString genre;
    AString composer;
    AString comment;
    std::vector<ID3Picture> pictures; // in tag order
    uint32_t trackNumber = 0;
    uint32_t discNumber = 0;
    uint32_t discCount = 0;
    uint32_t year = 0;
    uint32_t compilation = 0;
    int32_t mediaKind = kMediaKindUnset;
    uint32_t podcast = 0;
    uint32_t bitRate = 0;  // kbit/s, 0 = not found
    uint32_t duration = 0; // whole seconds, 0 = not found
    uint32_t fileSize = 0; // low 32 bits
    AString extension;
    AString accountName;
    // The title, or the file name without its extension when there is none.
    AString displayName;
    uint32_t tagKinds = 0;
    uint64_t audioStart = 0; // file offsets of the first and last audio byte; 0 = not known
    uint64_t audioEnd = 0;
};
