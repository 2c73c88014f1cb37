#pragma once
// What the music application reports when tracks or playlists were deleted or changed: the four ids of
// each object (source, playlist, track, database id; a playlist has track and database id 0). A value:
// whoever holds it owns it.

#include "platform/itunes/ITunesTypes.h"

#include <vector>

struct ITunesDatabaseChange {
    std::vector<itunesapp::ObjectIDs> deleted;
    std::vector<itunesapp::ObjectIDs> changed;
};
