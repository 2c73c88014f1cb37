#pragma once
// The music application's object-by-id call, through which a binding whose track reference was dropped
// finds its track again. The iTunes client implements it.

#include "library/itunes/ITunesTrackObject.h"

#include <cstdint>

class ITunesTrackLookup {
public:
    virtual ~ITunesTrackLookup() = default;

    // Null when no track has these ids.
    virtual ITunesTrackRef GetTrackByID(int32_t sourceID, int32_t playListID, int32_t trackID,
                                        int32_t databaseID) = 0;
};
