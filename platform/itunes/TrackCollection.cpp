#include "platform/itunes/TrackCollection.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/MediaModel.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackEnumerator.h"

namespace itunesapp {

Status TrackCollection::GetCount(int32_t& count) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    count = static_cast<int32_t>(m_items->size());
    return Status::Ok;
}

Status TrackCollection::GetItem(int32_t index, std::shared_ptr<Track>& track) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (index < 1 || static_cast<size_t>(index) > m_items->size())
        return Status::Failed;
    const PlaylistItem& item = (*m_items)[static_cast<size_t>(index) - 1];
    track = std::make_shared<Track>(m_core, m_sourceID, m_playlistID, item.trackID, item.serial);
    return Status::Ok;
}

Status TrackCollection::GetEnumerator(std::shared_ptr<TrackEnumerator>& enumerator) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    enumerator = std::make_shared<TrackEnumerator>(m_core, m_sourceID, m_playlistID, m_items);
    return Status::Ok;
}

} // namespace itunesapp
