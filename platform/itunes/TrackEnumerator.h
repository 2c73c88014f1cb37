#pragma once
// Hands out the tracks of a collection in batches, in order.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"
#include "platform/itunes/TrackCollection.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace itunesapp {

class Track;

class TrackEnumerator {
public:
    TrackEnumerator(HandleCore core, int32_t sourceID, int32_t playlistID, PlaylistItems items)
        : m_core(std::move(core)), m_sourceID(sourceID), m_playlistID(playlistID), m_items(std::move(items)) {
    }

    // Replaces `tracks` by the next `count` tracks: Ok when there were that many, Ended when fewer
    // (none at all once every track was handed out).
    Status Next(int32_t count, std::vector<std::shared_ptr<Track>>& tracks);

private:
    HandleCore m_core;
    int32_t m_sourceID;
    int32_t m_playlistID;
    PlaylistItems m_items;
    size_t m_position = 0;
};

} // namespace itunesapp
