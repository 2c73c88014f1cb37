#include "platform/itunes/MediaModel.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <limits>
#include <unordered_set>

namespace itunesapp {
namespace {

// The library file's "Distinguished Kind" numbers and the special kind that each is shown as. Any
// other number is shown as Videos, which is read-only like every kind from Podcasts on.
struct DistinguishedKind {
    int32_t number;
    SpecialKind kind;
};
constexpr DistinguishedKind kDistinguishedKinds[] = {
    {19, SpecialKind::PurchasedMusic}, {22, SpecialKind::PartyShuffle}, {10, SpecialKind::Podcasts},
    {4, SpecialKind::Music},           {2, SpecialKind::Movies},        {3, SpecialKind::TVShows},
    {5, SpecialKind::Audiobooks},
};

uint64_t NewSerial() {
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

bool SameItems(const std::vector<PlaylistItem>& a, const std::vector<PlaylistItem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PlaylistItem& x, const PlaylistItem& y) { return x.trackID == y.trackID; });
}

} // namespace

SpecialKind PlaylistRecord::GetSpecialKind() const {
    if (folder)
        return SpecialKind::Folder;
    if (distinguishedKind == 0)
        return SpecialKind::None;
    for (const DistinguishedKind& known : kDistinguishedKinds) {
        if (known.number == distinguishedKind)
            return known.kind;
    }
    return SpecialKind::Videos;
}

bool PlaylistRecord::SameValues(const PlaylistRecord& other) const {
    return id == other.id && persistentID == other.persistentID && name == other.name &&
           master == other.master && distinguishedKind == other.distinguishedKind && folder == other.folder &&
           smart == other.smart && visible == other.visible && allItems == other.allItems &&
           SameItems(items, other.items);
}

const PlaylistItem* FindItem(const PlaylistRecord& playlist, int32_t trackID, uint64_t serial) {
    const auto found =
        std::find_if(playlist.items.begin(), playlist.items.end(), [&](const PlaylistItem& item) {
            return item.trackID == trackID && (serial == 0 || item.serial == serial);
        });
    return found == playlist.items.end() ? nullptr : &*found;
}

MediaModel::MediaModel() : m_random(std::random_device{}()) {}

TrackRecord* MediaModel::FindTrack(int32_t id) {
    const auto found = m_tracks.find(id);
    return found == m_tracks.end() ? nullptr : &found->second;
}

const TrackRecord* MediaModel::FindTrack(int32_t id) const {
    const auto found = m_tracks.find(id);
    return found == m_tracks.end() ? nullptr : &found->second;
}

const TrackRecord* MediaModel::TrackAt(const std::string& location) {
    if (!m_fileTracksIndexed) {
        m_fileTracksIndexed = true;
        m_fileTracks.reserve(m_tracks.size());
        for (const auto& [id, track] : m_tracks)
            IndexLocation(track);
    }
    const auto found = m_fileTracks.find(location);
    return found == m_fileTracks.end() ? nullptr : FindTrack(found->second);
}

PlaylistRecord* MediaModel::FindPlaylist(int32_t id) {
    const auto found = std::find_if(m_playlists.begin(), m_playlists.end(),
                                    [id](const PlaylistRecord& playlist) { return playlist.id == id; });
    return found == m_playlists.end() ? nullptr : &*found;
}

const PlaylistRecord* MediaModel::FindPlaylist(int32_t id) const {
    return const_cast<MediaModel*>(this)->FindPlaylist(id);
}

void MediaModel::ReserveTracks(size_t count) {
    m_tracks.reserve(count);
}

void MediaModel::InsertTrack(TrackRecord track) {
    const int32_t id = track.id;
    if (TrackRecord* held = FindTrack(id)) {
        ReplaceTrack(*held, std::move(track));
        return;
    }
    IndexLocation(m_tracks.emplace(id, std::move(track)).first->second);
}

void MediaModel::ReplaceTrack(TrackRecord& track, TrackRecord fields) {
    UnindexLocation(track);
    track = std::move(fields);
    IndexLocation(track);
}

void MediaModel::IndexLocation(const TrackRecord& track) {
    if (m_fileTracksIndexed && track.kind == TrackKind::File && !track.location.empty())
        m_fileTracks.emplace(track.location, track.id);
}

void MediaModel::UnindexLocation(const TrackRecord& track) {
    const auto indexed = m_fileTracks.find(track.location);
    if (indexed != m_fileTracks.end() && indexed->second == track.id)
        m_fileTracks.erase(indexed);
}

void MediaModel::InsertPlaylist(PlaylistRecord playlist) {
    m_playlists.push_back(std::move(playlist));
}

void MediaModel::Complete(const std::string& mainName) {
    auto master = std::find_if(m_playlists.begin(), m_playlists.end(),
                               [](const PlaylistRecord& playlist) { return playlist.master; });
    if (master == m_playlists.end()) {
        PlaylistRecord made;
        made.name = mainName;
        made.master = true;
        made.id = NewID();
        made.persistentID = NewPersistentID();
        m_playlists.insert(m_playlists.begin(), std::move(made));
    } else {
        std::rotate(m_playlists.begin(), master, master + 1);
    }
    for (auto other = m_playlists.begin() + 1; other != m_playlists.end(); ++other)
        other->master = false;
    GiveUniqueIDs();
    for (PlaylistRecord& playlist : m_playlists) {
        std::erase_if(playlist.items,
                      [this](const PlaylistItem& item) { return !m_tracks.contains(item.trackID); });
        for (PlaylistItem& item : playlist.items)
            item.serial = NewSerial();
    }
    // The library playlist holds each track once: its own order first, then the tracks it left out.
    std::vector<PlaylistItem>& library = Main().items;
    std::unordered_set<int32_t> listed;
    std::erase_if(library,
                  [&listed](const PlaylistItem& item) { return !listed.insert(item.trackID).second; });
    for (const auto& [id, track] : m_tracks) {
        if (!listed.contains(id))
            library.push_back({id, NewSerial()});
    }
}

void MediaModel::GiveUniqueIDs() {
    std::unordered_set<int32_t> seen;
    for (PlaylistRecord& playlist : m_playlists) {
        if (playlist.id <= 0 || !seen.insert(playlist.id).second) {
            playlist.id = NewID();
            seen.insert(playlist.id);
        }
    }
}

void MediaModel::AddTrack(TrackRecord track) {
    const int32_t id = track.id;
    InsertTrack(std::move(track));
    AppendItem(Main(), id);
}

void MediaModel::EraseTrack(int32_t id, std::vector<int32_t>& playlists) {
    const auto found = m_tracks.find(id);
    if (found == m_tracks.end())
        return;
    UnindexLocation(found->second);
    m_tracks.erase(found);
    for (PlaylistRecord& playlist : m_playlists) {
        const size_t removed =
            std::erase_if(playlist.items, [id](const PlaylistItem& item) { return item.trackID == id; });
        if (removed > 0 && !playlist.master)
            playlists.push_back(playlist.id);
    }
}

PlaylistRecord& MediaModel::AddPlaylist(PlaylistRecord playlist) {
    return m_playlists.emplace_back(std::move(playlist));
}

void MediaModel::ErasePlaylist(int32_t id) {
    std::erase_if(m_playlists,
                  [id](const PlaylistRecord& playlist) { return playlist.id == id && !playlist.master; });
}

uint64_t MediaModel::AppendItem(PlaylistRecord& playlist, int32_t trackID) {
    const uint64_t serial = NewSerial();
    playlist.items.push_back({trackID, serial});
    return serial;
}

bool MediaModel::RemoveItem(PlaylistRecord& playlist, int32_t trackID, uint64_t serial) {
    const PlaylistItem* item = FindItem(playlist, trackID, serial);
    if (!item)
        return false;
    playlist.items.erase(playlist.items.begin() + (item - playlist.items.data()));
    return true;
}

void MediaModel::AdoptSerials(const MediaModel& before) {
    for (PlaylistRecord& playlist : m_playlists) {
        const PlaylistRecord* old = before.FindPlaylist(playlist.id);
        if (!old)
            continue;
        std::unordered_map<int32_t, std::vector<uint64_t>> serials;
        for (auto item = old->items.rbegin(); item != old->items.rend(); ++item)
            serials[item->trackID].push_back(item->serial);
        for (PlaylistItem& item : playlist.items) {
            std::vector<uint64_t>& left = serials[item.trackID];
            if (left.empty())
                continue;
            item.serial = left.back();
            left.pop_back();
        }
    }
}

int32_t MediaModel::NewID() {
    std::uniform_int_distribution<int32_t> ids(1, std::numeric_limits<int32_t>::max());
    for (;;) {
        const int32_t id = ids(m_random);
        if (!m_tracks.contains(id) && !FindPlaylist(id))
            return id;
    }
}

uint64_t MediaModel::NewPersistentID() {
    for (;;) {
        if (const uint64_t id = m_random(); id != 0)
            return id;
    }
}

} // namespace itunesapp
