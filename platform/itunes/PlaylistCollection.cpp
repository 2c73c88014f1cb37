#include "platform/itunes/PlaylistCollection.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

Status PlaylistCollection::GetCount(int32_t& count) const {
    return CountEntries(m_core, m_playlistIDs.size(), count);
}

Status PlaylistCollection::GetItem(int32_t index, std::shared_ptr<Playlist>& playlist) const {
    return EntryAt(m_core, m_playlistIDs, index, playlist, [this](int32_t playlistID) {
        return std::make_shared<Playlist>(m_core, m_sourceID, playlistID);
    });
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
