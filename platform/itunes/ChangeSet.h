#pragma once
// What one change did to the application's content, as the "database changed" event reports it: a
// track as {source, library playlist, track, database id}, a playlist as {source, playlist, 0, 0}.

#include "platform/itunes/ITunesTypes.h"

#include <vector>

namespace itunesapp {

class MediaModel;

struct ChangeSet {
    std::vector<ObjectIDs> deleted;
    std::vector<ObjectIDs> changed;

    bool Empty() const { return deleted.empty() && changed.empty(); }
    void TrackChanged(int32_t sourceID, const MediaModel& model, int32_t trackID);
    void TrackDeleted(int32_t sourceID, const MediaModel& model, int32_t trackID);
    void PlaylistChanged(int32_t sourceID, int32_t playlistID);
    void PlaylistDeleted(int32_t sourceID, int32_t playlistID);
    // Everything that differs between a source's content before and after it was read again.
    void AddDifferences(int32_t sourceID, const MediaModel& before, const MediaModel& after);
};

} // namespace itunesapp
