#include "platform/itunes/Source.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

template <class Reader> Status Source::Read(const Reader& read) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    read(*source);
    return Status::Ok;
}

Status Source::GetKind(SourceKind& kind) const {
    return Read([&](const SourceBackend& source) { kind = source.Kind(); });
}

Status Source::GetName(std::u16string& name) const {
    return Read([&](const SourceBackend& source) { name = textcodec::DecodeUtf8(source.Name()); });
}

Status Source::GetSourceID(int32_t& sourceID) const {
    return Read([&](const SourceBackend& source) { sourceID = source.SourceID(); });
}

Status Source::GetPlaylists(std::shared_ptr<PlaylistCollection>& playlists) const {
    return Read([&](const SourceBackend& source) {
        std::vector<int32_t> ids;
        for (const PlaylistRecord& playlist : source.Model().Playlists())
            ids.push_back(playlist.id);
        playlists = std::make_shared<PlaylistCollection>(m_core, m_sourceID, std::move(ids));
    });
}

} // namespace itunesapp
