#include "platform/itunes/Source.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

Status Source::GetKind(SourceKind& kind) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    kind = source->Kind();
    return Status::Ok;
}

Status Source::GetName(std::u16string& name) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    name = textcodec::DecodeUtf8(source->Name());
    return Status::Ok;
}

Status Source::GetSourceID(int32_t& sourceID) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    sourceID = m_sourceID;
    return Status::Ok;
}

Status Source::GetPlaylists(std::shared_ptr<PlaylistCollection>& playlists) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    std::vector<int32_t> ids;
    for (const PlaylistRecord& playlist : source->Model().Playlists())
        ids.push_back(playlist.id);
    playlists = std::make_shared<PlaylistCollection>(m_core, m_sourceID, std::move(ids));
    return Status::Ok;
}

} // namespace itunesapp
