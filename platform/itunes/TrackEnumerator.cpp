#include "platform/itunes/TrackEnumerator.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/MediaModel.h"
#include "platform/itunes/Track.h"

#include <algorithm>

namespace itunesapp {

Status TrackEnumerator::Next(int32_t count, std::vector<std::shared_ptr<Track>>& tracks) {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (count <= 0)
        return Status::Failed;
    const size_t end = std::min(m_items->size(), m_position + static_cast<size_t>(count));
    tracks.clear();
    tracks.reserve(end - m_position);
    for (; m_position < end; ++m_position) {
        const PlaylistItem& item = (*m_items)[m_position];
        tracks.push_back(
            std::make_shared<Track>(m_core, m_sourceID, m_playlistID, item.trackID, item.serial));
    }
    return tracks.size() == static_cast<size_t>(count) ? Status::Ok : Status::Ended;
}

} // namespace itunesapp
