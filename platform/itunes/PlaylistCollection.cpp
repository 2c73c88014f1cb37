#include "platform/itunes/PlaylistCollection.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

Status PlaylistCollection::GetCount(int32_t& count) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    count = static_cast<int32_t>(m_playlistIDs.size());
    return Status::Ok;
}

Status PlaylistCollection::GetItem(int32_t index, std::shared_ptr<Playlist>& playlist) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (index < 1 || static_cast<size_t>(index) > m_playlistIDs.size())
        return Status::Failed;
    playlist = std::make_shared<Playlist>(m_core, m_sourceID, m_playlistIDs[static_cast<size_t>(index) - 1]);
    return Status::Ok;
}

Status PlaylistCollection::GetItemByName(const std::u16string& name,
                                         std::shared_ptr<Playlist>& playlist) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    const std::string wanted = textcodec::EncodeUtf8(name);
    for (const int32_t id : m_playlistIDs) {
        const PlaylistRecord* record = source->Model().FindPlaylist(id);
        if (record && record->name == wanted) {
            playlist = std::make_shared<Playlist>(m_core, m_sourceID, id);
            return Status::Ok;
        }
    }
    return Status::Failed;
}

} // namespace itunesapp
