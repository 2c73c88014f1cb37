#include "platform/itunes/TrackCollection.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/MediaModel.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackEnumerator.h"

namespace itunesapp {

Status TrackCollection::GetCount(int32_t& count) const {
    return CountEntries(m_core, m_items->size(), count);
}

Status TrackCollection::GetItem(int32_t index, std::shared_ptr<Track>& track) const {
    return EntryAt(m_core, *m_items, index, track, [this](const PlaylistItem& item) {
        return std::make_shared<Track>(m_core, m_sourceID, m_playlistID, item.trackID, item.serial);
    });
}

Status TrackCollection::GetEnumerator(std::shared_ptr<TrackEnumerator>& enumerator) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    enumerator = std::make_shared<TrackEnumerator>(m_core, m_sourceID, m_playlistID, m_items);
    return Status::Ok;
}

} // namespace itunesapp
