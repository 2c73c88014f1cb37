#include "platform/itunes/ChangeSet.h"

#include "platform/itunes/MediaModel.h"

namespace itunesapp {

void ChangeSet::TrackChanged(int32_t sourceID, const MediaModel& model, int32_t trackID) {
    changed.push_back({sourceID, model.Main().id, trackID, trackID});
}

void ChangeSet::TrackDeleted(int32_t sourceID, const MediaModel& model, int32_t trackID) {
    deleted.push_back({sourceID, model.Main().id, trackID, trackID});
}

void ChangeSet::PlaylistChanged(int32_t sourceID, int32_t playlistID) {
    changed.push_back({sourceID, playlistID, 0, 0});
}

void ChangeSet::PlaylistDeleted(int32_t sourceID, int32_t playlistID) {
    deleted.push_back({sourceID, playlistID, 0, 0});
}

void ChangeSet::AddDifferences(int32_t sourceID, const MediaModel& before, const MediaModel& after) {
    for (const auto& [id, track] : before.Tracks()) {
        if (!after.FindTrack(id))
            TrackDeleted(sourceID, before, id);
    }
    for (const auto& [id, track] : after.Tracks()) {
        const TrackRecord* old = before.FindTrack(id);
        if (!old || !(*old == track))
            TrackChanged(sourceID, after, id);
    }
    for (const PlaylistRecord& playlist : before.Playlists()) {
        if (!playlist.master && !after.FindPlaylist(playlist.id))
            PlaylistDeleted(sourceID, playlist.id);
    }
    for (const PlaylistRecord& playlist : after.Playlists()) {
        const PlaylistRecord* old = before.FindPlaylist(playlist.id);
        if (!playlist.master && (!old || !old->SameContent(playlist)))
            PlaylistChanged(sourceID, playlist.id);
    }
}

} // namespace itunesapp
