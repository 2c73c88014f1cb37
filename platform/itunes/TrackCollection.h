#pragma once
// The tracks of a playlist (or of a finished add) as they were when it was asked for them; items count
// from 1. The enumerator hands them out in batches.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <memory>
#include <vector>

namespace itunesapp {

class Track;
class TrackEnumerator;
struct PlaylistItem;

using PlaylistItems = std::shared_ptr<const std::vector<PlaylistItem>>;

class TrackCollection {
public:
    TrackCollection(HandleCore core, int32_t sourceID, int32_t playlistID, PlaylistItems items)
        : m_core(std::move(core)), m_sourceID(sourceID), m_playlistID(playlistID), m_items(std::move(items)) {
    }

    Status GetCount(int32_t& count) const;
    Status GetItem(int32_t index, std::shared_ptr<Track>& track) const;
    Status GetEnumerator(std::shared_ptr<TrackEnumerator>& enumerator) const;

private:
    HandleCore m_core;
    int32_t m_sourceID;
    int32_t m_playlistID;
    PlaylistItems m_items;
};

} // namespace itunesapp
