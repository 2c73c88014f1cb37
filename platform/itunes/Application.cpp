#include "platform/itunes/Application.h"

#include "platform/itunes/Call.h"
#include "platform/itunes/LibraryBackend.h"
#include "platform/itunes/LibraryFile.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/Track.h"
#include "platform/text/TextCodec.h"

namespace itunesapp {

Status Application::Create(std::shared_ptr<Application>& application) {
    return Create(ITunesInstance::Running(), application);
}

Status Application::Create(ITunesInstance& instance, std::shared_ptr<Application>& application) {
    const std::shared_ptr<InstanceState> state = instance.State();
    if (state->IsBusy())
        return Status::Busy;
    {
        std::lock_guard lock(state->mutex);
        if (const Status started = state->Start(); started != Status::Ok)
            return started;
    }
    state->ApplicationMade();
    application.reset(new Application(HandleCore(state, state->Generation())));
    return Status::Ok;
}

Application::~Application() {
    m_core.State().ApplicationGone();
}

Status Application::GetVersion(std::u16string& version) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    m_core.State().Library(call.changes);
    version = textcodec::DecodeUtf8(kApplicationVersion);
    return Status::Ok;
}

Status Application::GetSources(std::shared_ptr<SourceCollection>& sources) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    std::vector<int32_t> ids;
    for (const auto& source : m_core.State().Sources(call.changes))
        ids.push_back(source->SourceID());
    sources = std::make_shared<SourceCollection>(m_core, std::move(ids));
    return Status::Ok;
}

Status Application::GetLibraryPlaylist(std::shared_ptr<Playlist>& playlist) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    const std::shared_ptr<SourceBackend> library = m_core.State().Library(call.changes);
    playlist = std::make_shared<Playlist>(m_core, library->SourceID(), library->Model().Main().id);
    return Status::Ok;
}

Status Application::CreatePlaylist(const std::u16string& name, std::shared_ptr<Playlist>& playlist) const {
    return CreateInSource(LibraryBackend::kSourceID, name, playlist);
}

Status Application::CreatePlaylistInSource(const std::u16string& name, const Source& source,
                                           std::shared_ptr<Playlist>& playlist) const {
    return CreateInSource(source.m_sourceID, name, playlist);
}

Status Application::CreateInSource(int32_t sourceID, const std::u16string& name,
                                   std::shared_ptr<Playlist>& playlist) const {
    Call call(m_core);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(sourceID, source); status != Status::Ok)
        return status;
    int32_t playlistID = 0;
    if (const Status created = source->CreatePlaylist(textcodec::EncodeUtf8(name), playlistID, call.changes);
        created != Status::Ok)
        return created;
    playlist = std::make_shared<Playlist>(m_core, sourceID, playlistID);
    return Status::Ok;
}

Status Application::GetTrackByIDs(const ObjectIDs& ids, std::shared_ptr<Track>& track) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (ids.sourceID == 0 || ids.playlistID == 0 || ids.trackID == 0 || ids.databaseID == 0 ||
        ids.trackID != ids.databaseID)
        return Status::Failed;
    m_core.State().Library(call.changes);
    SourceBackend* source = nullptr;
    if (const Status status = call.Check(ids.sourceID, source); status != Status::Ok)
        return status;
    const PlaylistRecord* playlist = source->Model().FindPlaylist(ids.playlistID);
    const PlaylistItem* item = playlist ? FindItem(*playlist, ids.trackID, 0) : nullptr;
    if (!item)
        return Status::Failed;
    track = std::make_shared<Track>(m_core, ids.sourceID, ids.playlistID, item->trackID, item->serial);
    return Status::Ok;
}

Status Application::Subscribe(std::shared_ptr<EventSink> sink, uint32_t& cookie) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    if (!sink)
        return Status::Failed;
    cookie = m_core.State().Subscribe(std::move(sink), m_core.Generation());
    return Status::Ok;
}

Status Application::Unsubscribe(uint32_t cookie) const {
    Call call(m_core);
    if (const Status status = call.Check(); status != Status::Ok)
        return status;
    return m_core.State().Unsubscribe(cookie) ? Status::Ok : Status::Failed;
}

} // namespace itunesapp
