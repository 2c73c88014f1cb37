#pragma once
// One binding of a song record to a live track: the track of the library, of an iPod source or of a
// playlist that stands for the song. The song owns its bindings.

#include "library/itunes/ITunesBindingOwner.h"
#include "library/itunes/ITunesTrackObject.h"

#include <cstdint>

struct ITunesTrackBinding {
    enum Kind : uint32_t { kPlayList = 1, kLibrary = 2, kPod = 3 };

    // Null when the track must be looked up again by the ids below.
    ITunesTrackRef track;
    // The iTunes client (library and iPod bindings) or the playlist record that made the binding.
    const ITunesBindingOwner* owner = nullptr;
    uint32_t kind = kLibrary;
    // The application's object ids; 0 where unknown.
    int32_t trackID = 0;
    int32_t sourceID = 0;
    int32_t playListID = 0;
    int32_t databaseID = 0;
};
