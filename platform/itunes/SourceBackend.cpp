#include "platform/itunes/SourceBackend.h"

#include "platform/itunes/PathLevels.h"
#include "platform/itunes/TagReader.h"
#include "platform/text/TextCodec.h"

#include <atomic>
#include <ctime>
#include <sys/stat.h>

namespace itunesapp {
namespace {

// A song without a title is named after its file, without the extension.
std::string TitleOfFile(const std::string& path) {
    const std::string_view name = LastLevel(path);
    const std::string_view extension = ExtensionOfName(name);
    return std::string(extension.empty() ? name : name.substr(0, name.size() - extension.size() - 1));
}

} // namespace

SourceBackend::SourceBackend(int32_t sourceID, SourceKind kind, std::shared_ptr<TagReader> tagReader)
    : m_sourceID(sourceID), m_kind(kind), m_tagReader(std::move(tagReader)) {}

Status SourceBackend::DeleteTrack(int32_t trackID, ChangeSet& changes) {
    return Change(changes, [&] {
        const TrackRecord* track = m_model.FindTrack(trackID);
        if (!track)
            return Status::Failed;
        Edit edit{Edit::Kind::TrackDeleted, trackID, 0, track->location};
        std::vector<int32_t> playlists;
        m_model.EraseTrack(trackID, playlists);
        m_epoch = NewEpoch();
        if (const Status committed = CommitChange(edit); committed != Status::Ok)
            return committed;
        changes.TrackDeleted(m_sourceID, m_model, trackID);
        for (const int32_t playlistID : playlists)
            changes.PlaylistChanged(m_sourceID, playlistID);
        return Status::Ok;
    });
}

Status SourceBackend::EditTrack(int32_t trackID, const std::function<bool(TrackRecord&)>& edit,
                                ChangeSet& changes) {
    return Change(changes, [&] {
        TrackRecord* track = m_model.FindTrack(trackID);
        if (!track)
            return Status::Failed;
        TrackRecord changed = *track;
        if (!edit(changed))
            return Status::Failed;
        if (changed == *track)
            return Status::Ok;
        m_model.ReplaceTrack(*track, std::move(changed));
        Edit made{Edit::Kind::TrackFields, trackID};
        if (const Status committed = CommitChange(made); committed != Status::Ok)
            return committed;
        changes.TrackChanged(m_sourceID, m_model, trackID);
        return Status::Ok;
    });
}

Status SourceBackend::CreatePlaylist(const std::string& name, int32_t& playlistID, ChangeSet& changes) {
    return Change(changes, [&] {
        PlaylistRecord playlist;
        playlist.id = m_model.NewID();
        playlist.persistentID = m_model.NewPersistentID();
        playlist.name = name;
        m_model.AddPlaylist(std::move(playlist));
        Edit edit{Edit::Kind::PlaylistCreated, m_model.Playlists().back().id};
        if (const Status committed = CommitChange(edit); committed != Status::Ok)
            return committed;
        playlistID = edit.id;
        changes.PlaylistChanged(m_sourceID, playlistID);
        return Status::Ok;
    });
}

Status SourceBackend::RenamePlaylist(int32_t playlistID, const std::string& name, ChangeSet& changes) {
    return Change(changes, [&] {
        PlaylistRecord* playlist = m_model.FindPlaylist(playlistID);
        if (!playlist || playlist->master)
            return Status::Failed;
        if (playlist->name == name)
            return Status::Ok;
        playlist->name = name;
        Edit edit{Edit::Kind::PlaylistRenamed, playlistID};
        if (const Status committed = CommitChange(edit); committed != Status::Ok)
            return committed;
        changes.PlaylistChanged(m_sourceID, playlistID);
        return Status::Ok;
    });
}

Status SourceBackend::DeletePlaylist(int32_t playlistID, ChangeSet& changes) {
    return Change(changes, [&] {
        const PlaylistRecord* playlist = m_model.FindPlaylist(playlistID);
        if (!playlist || playlist->master)
            return Status::Failed;
        Edit edit{Edit::Kind::PlaylistDeleted, playlistID, playlist->persistentID};
        m_model.ErasePlaylist(playlistID);
        if (const Status committed = CommitChange(edit); committed != Status::Ok)
            return committed;
        changes.PlaylistDeleted(m_sourceID, playlistID);
        return Status::Ok;
    });
}

Status SourceBackend::AppendItem(int32_t playlistID, int32_t trackID, uint64_t& serial, ChangeSet& changes) {
    return Change(changes, [&] {
        PlaylistRecord* playlist = EditablePlaylist(playlistID);
        if (!playlist || !m_model.FindTrack(trackID))
            return Status::Failed;
        serial = m_model.AppendItem(*playlist, trackID);
        Edit edit{Edit::Kind::PlaylistItems, playlistID};
        if (const Status committed = CommitChange(edit); committed != Status::Ok)
            return committed;
        changes.PlaylistChanged(m_sourceID, playlistID);
        return Status::Ok;
    });
}

Status SourceBackend::RemoveItem(int32_t playlistID, int32_t trackID, uint64_t serial, ChangeSet& changes) {
    return Change(changes, [&] {
        PlaylistRecord* playlist = EditablePlaylist(playlistID);
        if (!playlist || !m_model.RemoveItem(*playlist, trackID, serial))
            return Status::Failed;
        Edit edit{Edit::Kind::PlaylistItems, playlistID};
        if (const Status committed = CommitChange(edit); committed != Status::Ok)
            return committed;
        changes.PlaylistChanged(m_sourceID, playlistID);
        return Status::Ok;
    });
}

Status SourceBackend::Change(ChangeSet& changes, const std::function<Status()>& make) {
    Status status = BeginChange(changes);
    if (status == Status::Ok)
        status = make();
    EndChange();
    return status;
}

void SourceBackend::ReplaceModel(MediaModel fresh, ChangeSet& changes) {
    changes.AddDifferences(m_sourceID, m_model, fresh);
    fresh.AdoptSerials(m_model);
    m_model = std::move(fresh);
    m_epoch = NewEpoch();
}

uint64_t SourceBackend::NewEpoch() {
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

bool SourceBackend::ReadSongFile(const std::string& path, TrackRecord& track) const {
    struct stat info {};
    if (!m_tagReader || path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    SongFields fields;
    if (!m_tagReader->ReadTags(path, fields))
        return false;
    track.kind = TrackKind::File;
    track.name = fields.name.empty() ? TitleOfFile(path) : textcodec::EncodeUtf8(fields.name);
    track.album = textcodec::EncodeUtf8(fields.album);
    track.artist = textcodec::EncodeUtf8(fields.artist);
    track.genre = textcodec::EncodeUtf8(fields.genre);
    track.composer = textcodec::EncodeUtf8(fields.composer);
    track.comment = textcodec::EncodeUtf8(fields.comment);
    track.trackNumber = fields.trackNumber;
    track.year = fields.year;
    track.bitRate = fields.bitRate;
    track.totalTimeMs = fields.totalTimeMs;
    track.size = static_cast<uint64_t>(info.st_size);
    track.modified = info.st_mtim.tv_sec;
    track.added = std::time(nullptr);
    track.location = path;
    return true;
}

PlaylistRecord* SourceBackend::EditablePlaylist(int32_t playlistID) {
    PlaylistRecord* playlist = m_model.FindPlaylist(playlistID);
    return playlist && !playlist->master && !playlist->HoldsComputedSongs() ? playlist : nullptr;
}

} // namespace itunesapp
