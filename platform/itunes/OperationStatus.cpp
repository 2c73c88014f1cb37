#include "platform/itunes/OperationStatus.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/itunes/TrackCollection.h"

namespace itunesapp {

Status OperationStatus::GetInProgress(bool& inProgress) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    inProgress = false;
    return Status::Ok;
}

Status OperationStatus::GetTracks(std::shared_ptr<TrackCollection>& tracks) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    const PlaylistRecord* library = source->Model().FindPlaylist(m_playlistID);
    if (!library)
        return Status::Failed;
    auto items = std::make_shared<std::vector<PlaylistItem>>();
    for (const int32_t id : m_trackIDs) {
        if (const PlaylistItem* item = FindItem(*library, id, 0))
            items->push_back(*item);
    }
    tracks = std::make_shared<TrackCollection>(m_core, m_sourceID, m_playlistID, std::move(items));
    return Status::Ok;
}

} // namespace itunesapp
