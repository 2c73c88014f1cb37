#include "platform/itunes/PodBackend.h"

#include "platform/files/NativeFiles.h"
#include "platform/itunes/PathLevels.h"
#include "platform/text/TextCodec.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <unordered_set>

namespace itunesapp {
namespace {

constexpr char kControlFolder[] = "iPod_Control";
constexpr char kDatabaseFolder[] = "iTunes";
constexpr char kDatabaseName[] = "iTunesDB";
constexpr char kMusicFolder[] = "Music";
constexpr char kFirstMusicFolder[] = "F00";
constexpr char kFileNameLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kFileNameLength = 4;
constexpr int kFileNameAttempts = 1000;
constexpr uint32_t kPositive32 = 0x7FFFFFFF;

std::string Utf8(const std::u16string& text) {
    return textcodec::EncodeUtf8(text);
}

std::u16string Utf16(const std::string& text) {
    return textcodec::DecodeUtf8(text);
}

int64_t DateOrNone(int64_t unixSeconds) {
    return unixSeconds == 0 ? kNoDate : unixSeconds;
}

int64_t DateOrZero(int64_t date) {
    return date == kNoDate ? 0 : date;
}

// The iPod's own music folders are named "F" and two digits.
bool IsMusicFolderName(const std::string& name) {
    return name.size() == 3 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1])) &&
           std::isdigit(static_cast<unsigned char>(name[2]));
}

// The extension of the file's name (never of a folder above it), in lower case.
std::string LowerExtensionOf(const std::string& path) {
    std::string extension(ExtensionOfName(path));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

TrackRecord TrackOf(const PodTrack& pod, const std::string& mountPoint) {
    TrackRecord track;
    track.id = pod.id;
    track.name = Utf8(pod.fields.name);
    track.album = Utf8(pod.fields.album);
    track.artist = Utf8(pod.fields.artist);
    track.genre = Utf8(pod.fields.genre);
    track.composer = Utf8(pod.fields.composer);
    track.comment = Utf8(pod.fields.comment);
    track.trackNumber = pod.fields.trackNumber;
    track.year = pod.fields.year;
    track.bitRate = pod.fields.bitRate;
    track.totalTimeMs = pod.fields.totalTimeMs;
    track.size = pod.size;
    track.modified = DateOrNone(pod.modifiedUnix);
    track.played = DateOrNone(pod.playedUnix);
    track.playedCount = pod.playedCount;
    track.rating = pod.rating;
    if (!pod.pathOnPod.empty())
        track.location = JoinPath(mountPoint, {pod.pathOnPod});
    return track;
}

PlaylistRecord PlaylistOf(const PodPlayList& pod) {
    PlaylistRecord playlist;
    playlist.id = PodPlaylistID(pod.id);
    playlist.persistentID = pod.id;
    playlist.name = Utf8(pod.name);
    playlist.master = pod.master;
    for (const int32_t trackID : pod.trackIDs)
        playlist.items.push_back({trackID, 0});
    return playlist;
}

} // namespace

int32_t PodPlaylistID(uint64_t persistentID) {
    const uint32_t folded = static_cast<uint32_t>(persistentID ^ (persistentID >> 32)) & kPositive32;
    return folded == 0 ? 1 : static_cast<int32_t>(folded);
}

PodBackend::PodBackend(int32_t sourceID, std::string mountPoint, PodDatabaseOpener opener,
                       std::shared_ptr<TagReader> tagReader)
    : SourceBackend(sourceID, SourceKind::IPod, std::move(tagReader)), m_mountPoint(std::move(mountPoint)),
      m_opener(std::move(opener)) {}

bool PodBackend::Open() {
    MediaModel model;
    if (!ReadDatabase(model))
        return false;
    m_model = std::move(model);
    m_epoch = NewEpoch();
    return true;
}

void PodBackend::Refresh(ChangeSet& changes) {
    if (m_database && FileIdentity::Of(DatabaseFile()) == m_identity)
        return;
    MediaModel fresh;
    if (ReadDatabase(fresh))
        ReplaceModel(std::move(fresh), changes);
}

Status PodBackend::AddFiles(const std::vector<std::string>& paths, std::vector<int32_t>& added,
                            ChangeSet& changes) {
    return Change(changes, [&] {
        std::vector<std::string> copies;
        std::unordered_set<std::string> seen;
        for (const std::string& path : paths) {
            if (!seen.insert(path).second)
                continue;
            if (const int32_t id = AddSongFile(path, copies))
                added.push_back(id);
        }
        if (added.empty())
            return Status::Ok;
        if (m_database->Save() != 0) {
            for (const std::string& copy : copies)
                nativefiles::RemoveFile(copy);
            added.clear();
            RollBack();
            return Status::Failed;
        }
        m_identity = FileIdentity::Of(DatabaseFile());
        for (const int32_t id : added)
            changes.TrackChanged(SourceID(), m_model, id);
        return Status::Ok;
    });
}

Status PodBackend::BeginChange(ChangeSet& changes) {
    Refresh(changes);
    return m_database ? Status::Ok : Status::Failed;
}

Status PodBackend::CommitChange(Edit& edit) {
    if (ApplyToDatabase(edit) != 0 || m_database->Save() != 0) {
        RollBack();
        return Status::Failed;
    }
    m_identity = FileIdentity::Of(DatabaseFile());
    if (edit.kind == Edit::Kind::TrackDeleted && !edit.location.empty())
        nativefiles::RemoveFile(edit.location);
    return Status::Ok;
}

int PodBackend::ApplyToDatabase(Edit& edit) {
    constexpr int kMissing = -1;
    if (edit.kind == Edit::Kind::TrackDeleted)
        return m_database->RemoveTrack(edit.id);
    if (edit.kind == Edit::Kind::PlaylistDeleted)
        return m_database->DeletePlayList(edit.persistentID);
    if (edit.kind == Edit::Kind::TrackFields) {
        const TrackRecord* track = m_model.FindTrack(edit.id);
        return track ? m_database->UpdateTrack(PodTrackOf(*track)) : kMissing;
    }
    PlaylistRecord* playlist = m_model.FindPlaylist(edit.id);
    if (!playlist)
        return kMissing;
    if (edit.kind == Edit::Kind::PlaylistRenamed)
        return m_database->RenamePlayList(playlist->persistentID, Utf16(playlist->name));
    if (edit.kind == Edit::Kind::PlaylistItems) {
        std::vector<int32_t> trackIDs;
        for (const PlaylistItem& item : playlist->items)
            trackIDs.push_back(item.trackID);
        return m_database->SetPlayListTracks(playlist->persistentID, trackIDs);
    }
    // A created playlist takes the persistent id the database gives it, and the id that shows.
    uint64_t persistentID = 0;
    if (const int result = m_database->CreatePlayList(Utf16(playlist->name), persistentID))
        return result;
    const int32_t shown = PodPlaylistID(persistentID);
    playlist->persistentID = persistentID;
    playlist->id = m_model.FindPlaylist(shown) ? m_model.NewID() : shown;
    edit.id = playlist->id;
    return 0;
}

int32_t PodBackend::AddSongFile(const std::string& path, std::vector<std::string>& copies) {
    TrackRecord song;
    if (!ReadSongFile(path, song) || HoldsSong(song))
        return 0;
    const std::string pathOnPod = CopyOntoPod(path);
    if (pathOnPod.empty())
        return 0;
    const std::string copy = JoinPath(m_mountPoint, {pathOnPod});
    song.location = copy;
    PodTrack track = PodTrackOf(song);
    if (m_database->AddTrack(track) != 0 || track.id <= 0 || m_model.FindTrack(track.id)) {
        if (track.id > 0 && !m_model.FindTrack(track.id))
            m_database->RemoveTrack(track.id);
        nativefiles::RemoveFile(copy);
        return 0;
    }
    copies.push_back(copy);
    song.id = track.id;
    m_model.AddTrack(std::move(song));
    return track.id;
}

// The iPod holds a song already when a track has its size, name, artist and album.
bool PodBackend::HoldsSong(const TrackRecord& song) const {
    return std::any_of(m_model.Tracks().begin(), m_model.Tracks().end(), [&song](const auto& entry) {
        const TrackRecord& track = entry.second;
        return track.size == song.size && track.name == song.name && track.artist == song.artist &&
               track.album == song.album;
    });
}

std::string PodBackend::CopyOntoPod(const std::string& path) {
    const std::string music = JoinPath(m_mountPoint, {kControlFolder, kMusicFolder});
    std::vector<nativefiles::DirectoryEntry> entries;
    nativefiles::ListDirectory(music, entries);
    std::vector<std::string> folders;
    for (const auto& entry : entries) {
        if (entry.isDirectory && IsMusicFolderName(entry.name))
            folders.push_back(entry.name);
    }
    std::mt19937 random(std::random_device{}());
    const std::string folder = folders.empty() ? kFirstMusicFolder : folders[random() % folders.size()];
    nativefiles::MakeDirectory(JoinPath(m_mountPoint, {kControlFolder}));
    nativefiles::MakeDirectory(music);
    nativefiles::MakeDirectory(JoinPath(music, {folder}));
    const std::string extension = LowerExtensionOf(path);
    std::uniform_int_distribution<size_t> letter(0, sizeof kFileNameLetters - 2);
    for (int attempt = 0; attempt < kFileNameAttempts; ++attempt) {
        std::string name;
        for (int i = 0; i < kFileNameLength; ++i)
            name += kFileNameLetters[letter(random)];
        if (!extension.empty())
            name += "." + extension;
        const std::string relative = JoinPath(kControlFolder, {kMusicFolder, folder, name});
        const std::string target = JoinPath(m_mountPoint, {relative});
        if (nativefiles::GetStatus(target).exists)
            continue;
        const bool copied =
            nativefiles::CopyFileReplacing(path, target, {}) == nativefiles::CopyOutcome::Copied;
        return copied ? relative : std::string();
    }
    return "";
}

PodTrack PodBackend::PodTrackOf(const TrackRecord& track) const {
    PodTrack pod;
    pod.id = track.id;
    pod.fields.name = Utf16(track.name);
    pod.fields.album = Utf16(track.album);
    pod.fields.artist = Utf16(track.artist);
    pod.fields.genre = Utf16(track.genre);
    pod.fields.composer = Utf16(track.composer);
    pod.fields.comment = Utf16(track.comment);
    pod.fields.trackNumber = track.trackNumber;
    pod.fields.year = track.year;
    pod.fields.bitRate = track.bitRate;
    pod.fields.totalTimeMs = track.totalTimeMs;
    const std::string prefix = JoinPath(m_mountPoint, {""});
    pod.pathOnPod =
        track.location.starts_with(prefix) ? track.location.substr(prefix.size()) : track.location;
    pod.size = track.size;
    pod.modifiedUnix = DateOrZero(track.modified);
    pod.playedCount = track.playedCount;
    pod.playedUnix = DateOrZero(track.played);
    pod.rating = track.rating;
    return pod;
}

void PodBackend::RollBack() {
    MediaModel fresh;
    if (!ReadDatabase(fresh)) {
        m_database.reset(); // refuses changes until the drive's database can be read again
        return;
    }
    ChangeSet unsaved; // the subscribers never heard of the change that is undone
    ReplaceModel(std::move(fresh), unsaved);
}

bool PodBackend::ReadDatabase(MediaModel& model) {
    std::unique_ptr<PodDatabase> database = m_opener ? m_opener(m_mountPoint) : nullptr;
    PodContent content;
    if (!database || database->Read(content) != 0)
        return false;
    for (const PodTrack& track : content.tracks) {
        if (track.id > 0)
            model.InsertTrack(TrackOf(track, m_mountPoint));
    }
    for (const PodPlayList& playlist : content.playLists)
        model.InsertPlaylist(PlaylistOf(playlist));
    model.Complete(std::string(LastLevel(m_mountPoint)));
    m_database = std::move(database);
    m_identity = FileIdentity::Of(DatabaseFile());
    return true;
}

std::string PodBackend::DatabaseFile() const {
    return DatabaseFileOf(m_mountPoint);
}

std::string PodBackend::DatabaseFileOf(const std::string& mountPoint) {
    return JoinPath(mountPoint, {kControlFolder, kDatabaseFolder, kDatabaseName});
}

} // namespace itunesapp
