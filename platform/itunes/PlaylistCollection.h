#pragma once
// The playlists of a source as they were when it was asked for them; items count from 1, the first is
// the library playlist.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace itunesapp {

class Playlist;

class PlaylistCollection {
public:
    PlaylistCollection(HandleCore core, int32_t sourceID, std::vector<int32_t> playlistIDs)
        : m_core(std::move(core)), m_sourceID(sourceID), m_playlistIDs(std::move(playlistIDs)) {}

    Status GetCount(int32_t& count) const;
    Status GetItem(int32_t index, std::shared_ptr<Playlist>& playlist) const;
    // The first playlist named exactly so (letter case counts); Failed when none is.
    Status GetItemByName(const std::u16string& name, std::shared_ptr<Playlist>& playlist) const;

private:
    HandleCore m_core;
    int32_t m_sourceID;
    std::vector<int32_t> m_playlistIDs;
};

} // namespace itunesapp
