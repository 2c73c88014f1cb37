#pragma once
// A live track of the music application, as the song and playlist records use it. The application's
// own object model implements it; the records hold counted references. Every call answers 0 or a
// negative code, and may throw when the application raises an exception inside it.

#include "foundation/AString.h"

#include <cstdint>
#include <memory>

enum class ITunesTrackProperty {
    Name,
    Album,
    Artist,
    Genre,
    Composer,
    TrackNumber,
    Year,
    BitRate,
    Duration,
    Size,
    TrackID,
};

class ITunesTrackObject {
public:
    virtual ~ITunesTrackObject() = default;

    virtual int GetText(ITunesTrackProperty property, AString& value) = 0;
    virtual int SetText(ITunesTrackProperty property, const AString& value) = 0;
    virtual int GetNumber(ITunesTrackProperty property, int32_t& value) = 0;
    virtual int SetNumber(ITunesTrackProperty property, int32_t value) = 0;
    // The track's artwork collection: its size, and item `item` (counted from 1) saved into a file.
    virtual int GetArtworkCount(int32_t& count) = 0;
    virtual int SaveArtworkToFile(int32_t item, const AString& path) = 0;
    // Deletes the track from the playlist or library that holds it.
    virtual int Delete() = 0;
};

using ITunesTrackRef = std::shared_ptr<ITunesTrackObject>;
