#pragma once
// What an add of song files answers: the operation is over when the add call returns, and its tracks
// are the new tracks in the library playlist of the source (none for files it held already).

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <memory>
#include <vector>

namespace itunesapp {

class TrackCollection;

class OperationStatus {
public:
    OperationStatus(HandleCore core, int32_t sourceID, int32_t playlistID, std::vector<int32_t> trackIDs)
        : m_core(std::move(core)), m_sourceID(sourceID), m_playlistID(playlistID),
          m_trackIDs(std::move(trackIDs)) {}

    Status GetInProgress(bool& inProgress) const;
    Status GetTracks(std::shared_ptr<TrackCollection>& tracks) const;

private:
    HandleCore m_core;
    int32_t m_sourceID;
    int32_t m_playlistID;
    std::vector<int32_t> m_trackIDs;
};

} // namespace itunesapp
