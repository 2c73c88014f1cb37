#include "platform/itunes/Playlist.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

template <class Use> Status Playlist::With(std::optional<PlaylistKind> kind, const Use& use) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    const PlaylistRecord* record = source->Model().FindPlaylist(m_playlistID);
    if (!record || (kind && record->master != (*kind == PlaylistKind::Library)))
        return Status::Failed;
    return use(call, *source, *record);
}

Status Playlist::GetKind(PlaylistKind& kind) const {
    return With({}, [&](Call&, SourceBackend&, const PlaylistRecord& record) {
        kind = record.master ? PlaylistKind::Library : PlaylistKind::User;
        return Status::Ok;
    });
}

Status Playlist::GetName(std::u16string& name) const {
    return With({}, [&](Call&, SourceBackend&, const PlaylistRecord& record) {
        name = textcodec::DecodeUtf8(record.name);
        return Status::Ok;
    });
}

Status Playlist::SetName(const std::u16string& name) const {
    return With(PlaylistKind::User, [&](Call& call, SourceBackend& source, const PlaylistRecord&) {
        return source.RenamePlaylist(m_playlistID, textcodec::EncodeUtf8(name), call.changes);
    });
}

Status Playlist::GetPlaylistID(int32_t& playlistID) const {
    return With({}, [&](Call&, SourceBackend&, const PlaylistRecord& record) {
        playlistID = record.id;
        return Status::Ok;
    });
}

Status Playlist::GetSourceID(int32_t& sourceID) const {
    return With({}, [&](Call&, SourceBackend& source, const PlaylistRecord&) {
        sourceID = source.SourceID();
        return Status::Ok;
    });
}

Status Playlist::GetTracks(std::shared_ptr<TrackCollection>& tracks) const {
    return With({}, [&](Call&, SourceBackend&, const PlaylistRecord& record) {
        tracks = std::make_shared<TrackCollection>(
            m_core, m_sourceID, m_playlistID,
            std::make_shared<const std::vector<PlaylistItem>>(record.items));
        return Status::Ok;
    });
}

Status Playlist::Delete() const {
    return With(PlaylistKind::User, [&](Call& call, SourceBackend& source, const PlaylistRecord&) {
        return source.DeletePlaylist(m_playlistID, call.changes);
    });
}

Status Playlist::GetSpecialKind(SpecialKind& kind) const {
    return With(PlaylistKind::User, [&](Call&, SourceBackend&, const PlaylistRecord& record) {
        kind = record.GetSpecialKind();
        return Status::Ok;
    });
}

Status Playlist::GetSmart(bool& smart) const {
    return With(PlaylistKind::User, [&](Call&, SourceBackend&, const PlaylistRecord& record) {
        smart = record.IsSmart();
        return Status::Ok;
    });
}

Status Playlist::AddTrack(const Track& track, std::shared_ptr<Track>& added) const {
    return With(PlaylistKind::User, [&](Call& call, SourceBackend& source, const PlaylistRecord&) {
        uint64_t serial = 0;
        if (track.m_sourceID != m_sourceID)
            return Status::Failed;
        if (const Status appended = source.AppendItem(m_playlistID, track.m_trackID, serial, call.changes);
            appended != Status::Ok)
            return appended;
        added = std::make_shared<Track>(m_core, m_sourceID, m_playlistID, track.m_trackID, serial);
        return Status::Ok;
    });
}

Status Playlist::AddFile(const std::string& path, std::shared_ptr<OperationStatus>& status) const {
    return AddFiles({path}, status);
}

Status Playlist::AddFiles(const std::vector<std::string>& paths,
                          std::shared_ptr<OperationStatus>& status) const {
    return With(PlaylistKind::Library, [&](Call& call, SourceBackend& source, const PlaylistRecord&) {
        if (!m_core.State().TakeAddPermission())
            return Status::Failed;
        std::vector<int32_t> added;
        if (const Status result = source.AddFiles(paths, added, call.changes); result != Status::Ok)
            return result;
        status = std::make_shared<OperationStatus>(m_core, m_sourceID, m_playlistID, std::move(added));
        return Status::Ok;
    });
}

} // namespace itunesapp
