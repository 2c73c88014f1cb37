#include "platform/itunes/Playlist.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/SourceBackend.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

Status Playlist::Find(Call& call, SourceBackend*& source, const PlaylistRecord*& record) const {
    if (const Status status = call.Check(m_sourceID, source); status != Status::Ok)
        return status;
    record = source->Model().FindPlaylist(m_playlistID);
    return record ? Status::Ok : Status::Failed;
}

Status Playlist::FindOfKind(Call& call, PlaylistKind kind, SourceBackend*& source,
                            const PlaylistRecord*& record) const {
    if (const Status status = Find(call, source, record); status != Status::Ok)
        return status;
    return record->master == (kind == PlaylistKind::Library) ? Status::Ok : Status::Failed;
}

Status Playlist::GetKind(PlaylistKind& kind) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = Find(call, source, record); status != Status::Ok)
        return status;
    kind = record->master ? PlaylistKind::Library : PlaylistKind::User;
    return Status::Ok;
}

Status Playlist::GetName(std::u16string& name) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = Find(call, source, record); status != Status::Ok)
        return status;
    name = textcodec::DecodeUtf8(record->name);
    return Status::Ok;
}

Status Playlist::SetName(const std::u16string& name) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = FindOfKind(call, PlaylistKind::User, source, record); status != Status::Ok)
        return status;
    return source->RenamePlaylist(m_playlistID, textcodec::EncodeUtf8(name), call.changes);
}

Status Playlist::GetPlaylistID(int32_t& playlistID) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = Find(call, source, record); status != Status::Ok)
        return status;
    playlistID = m_playlistID;
    return Status::Ok;
}

Status Playlist::GetSourceID(int32_t& sourceID) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = Find(call, source, record); status != Status::Ok)
        return status;
    sourceID = m_sourceID;
    return Status::Ok;
}

Status Playlist::GetTracks(std::shared_ptr<TrackCollection>& tracks) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = Find(call, source, record); status != Status::Ok)
        return status;
    tracks = std::make_shared<TrackCollection>(
        m_core, m_sourceID, m_playlistID, std::make_shared<const std::vector<PlaylistItem>>(record->items));
    return Status::Ok;
}

Status Playlist::Delete() const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = FindOfKind(call, PlaylistKind::User, source, record); status != Status::Ok)
        return status;
    return source->DeletePlaylist(m_playlistID, call.changes);
}

Status Playlist::GetSpecialKind(SpecialKind& kind) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = FindOfKind(call, PlaylistKind::User, source, record); status != Status::Ok)
        return status;
    kind = record->GetSpecialKind();
    return Status::Ok;
}

Status Playlist::GetSmart(bool& smart) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = FindOfKind(call, PlaylistKind::User, source, record); status != Status::Ok)
        return status;
    smart = record->IsSmart();
    return Status::Ok;
}

Status Playlist::AddTrack(const Track& track, std::shared_ptr<Track>& added) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status status = FindOfKind(call, PlaylistKind::User, source, record); status != Status::Ok)
        return status;
    if (track.m_sourceID != m_sourceID)
        return Status::Failed;
    uint64_t serial = 0;
    if (const Status appended = source->AppendItem(m_playlistID, track.m_trackID, serial, call.changes);
        appended != Status::Ok)
        return appended;
    added = std::make_shared<Track>(m_core, m_sourceID, m_playlistID, track.m_trackID, serial);
    return Status::Ok;
}

Status Playlist::AddFile(const std::string& path, std::shared_ptr<OperationStatus>& status) const {
    return AddFiles({path}, status);
}

Status Playlist::AddFiles(const std::vector<std::string>& paths,
                          std::shared_ptr<OperationStatus>& status) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    const PlaylistRecord* record = nullptr;
    if (const Status found = FindOfKind(call, PlaylistKind::Library, source, record); found != Status::Ok)
        return found;
    if (!m_core.State().TakeAddPermission())
        return Status::Failed;
    std::vector<int32_t> added;
    if (const Status result = source->AddFiles(paths, added, call.changes); result != Status::Ok)
        return result;
    status = std::make_shared<OperationStatus>(m_core, m_sourceID, m_playlistID, std::move(added));
    return Status::Ok;
}

} // namespace itunesapp
