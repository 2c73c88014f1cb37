#include "library/itunes/ITunesPlayList.h"

#include "foundation/AFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesSongIndex.h"
#include "library/itunes/ITunesTrackLookup.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

void EraseAll(std::vector<ITunesSong*>& songs, const ITunesSong* song) {
    songs.erase(std::remove(songs.begin(), songs.end(), song), songs.end());
}

} // namespace

ITunesPlayList::ITunesPlayList(ITunesSongIndex* songs)
    : m_index(songs), m_folderPattern(FolderPatternFor(m_layout)) {}

ITunesPlayList::~ITunesPlayList() {
    Unbind();
}

int ITunesPlayList::GetName(AString& out, uint32_t refresh) {
    if (refresh) {
        if (!m_object)
            return kErrorInvalidElement;
        AString name;
        try {
            if (m_object->GetName(name) != 0)
                return kErrorITunesCall;
        } catch (...) {
            return kErrorITunesCall;
        }
        m_name = name;
    }
    out = m_name;
    return 0;
}

int ITunesPlayList::SetName(const AString& name, uint32_t writeThrough) {
    if (writeThrough) {
        if (!m_object)
            return kErrorInvalidElement;
        try {
            if (m_object->SetName(name) != 0)
                return kErrorITunesCall;
        } catch (...) {
            return kErrorITunesCall;
        }
    }
    m_name = name;
    return 0;
}

ITunesSong* ITunesPlayList::GetSong(int index) const {
    if (index < 0 || index >= GetSongCount())
        return nullptr;
    return m_songs[index];
}

ITunesPlayList::Access ITunesPlayList::AccessOf(uint32_t kind) {
    constexpr uint32_t kFirstReadOnlySpecial = 4; // Podcasts, special kind 3
    return kind == kSmart || kind >= kFirstReadOnlySpecial ? kReadOnly : kReadWrite;
}

void ITunesPlayList::AddSong(ITunesSong* song) {
    m_songs.push_back(song);
}

void ITunesPlayList::AppendBound(ITunesSong* song, ITunesTrackBinding binding) {
    binding.owner = this;
    binding.kind = ITunesTrackBinding::kPlayList;
    song->AddTrack(std::make_unique<ITunesTrackBinding>(std::move(binding)));
    m_songs.push_back(song);
}

int32_t ITunesPlayList::GetSavedID(int index) const {
    if (index < 0 || index >= static_cast<int>(m_savedIDs.size()))
        return 0;
    return m_savedIDs[index];
}

void ITunesPlayList::SetFolderLayout(const EntryLayout& layout) {
    m_layout = layout;
    m_folderPattern = FolderPatternFor(layout);
}

void ITunesPlayList::SortSongs(uint32_t ascending) {
    if (!m_sorted)
        m_sorted = m_songs;
    // The texts carry a "?" tail as every song list's entries do, so that a playlist is ordered like
    // the list it is compared with ("Song 2?1" comes before "Song?0").
    std::vector<std::pair<AString, ITunesSong*>> keyed;
    keyed.reserve(m_sorted->size());
    for (size_t i = 0; i < m_sorted->size(); ++i) {
        ITunesSong* song = (*m_sorted)[i];
        AString entry = song->BuildEntry(m_layout, false);
        AppendEntryId(entry, static_cast<int64_t>(i));
        keyed.emplace_back(std::move(entry), song);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first.CompareNoCase(b.first) < 0 : b.first.CompareNoCase(a.first) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        (*m_sorted)[i] = keyed[i].second;
}

int ITunesPlayList::GetEntryCount() const {
    return static_cast<int>(m_sorted ? m_sorted->size() : m_songs.size());
}

ITunesSong* ITunesPlayList::GetEntry(int index) const {
    const std::vector<ITunesSong*>& order = m_sorted ? *m_sorted : m_songs;
    if (index < 0 || index >= static_cast<int>(order.size()))
        return nullptr;
    return order[index];
}

void ITunesPlayList::RemoveEntry(int index) {
    std::vector<ITunesSong*>& order = m_sorted ? *m_sorted : m_songs;
    if (index >= 0 && index < static_cast<int>(order.size()))
        order.erase(order.begin() + index);
}

int ITunesPlayList::BindingOwnedHere(const ITunesSong& song) const {
    for (int i = 0; i < song.GetTrackCount(); ++i) {
        if (song.GetTrack(i)->owner == this)
            return i;
    }
    return -1;
}

void ITunesPlayList::Forget(ITunesSong* song) {
    EraseAll(m_songs, song);
    if (m_sorted)
        EraseAll(*m_sorted, song);
}

bool ITunesPlayList::ReleaseBinding(ITunesSong* song, int bindingIndex) {
    song->RemoveTrack(bindingIndex);
    if (song->GetTrackCount() > 0)
        return false;
    Forget(song);
    if (m_index)
        m_index->Remove(song);
    return true;
}

int ITunesPlayList::DeleteTrack(const ITunesTrackBinding& binding, ITunesTrackLookup* client) {
    ITunesTrackRef track = binding.track;
    if (!track && client)
        track =
            client->GetTrackByID(binding.sourceID, binding.playListID, binding.trackID, binding.databaseID);
    if (!track)
        return kErrorEndOfStream;
    return track->Delete();
}

int ITunesPlayList::RemoveSong(int index, uint32_t deleteInITunes) {
    ITunesSong* song = GetSong(index);
    if (!song)
        return kErrorInvalidElement;
    try {
        const int binding = BindingOwnedHere(*song);
        if (binding < 0)
            return 0;
        if (deleteInITunes) {
            if (const int result = DeleteTrack(*song->GetTrack(binding), nullptr))
                return result;
        }
        m_songs.erase(m_songs.begin() + index);
        ReleaseBinding(song, binding);
        return 0;
    } catch (...) {
        return kErrorPlayListRemoveSong;
    }
}

int ITunesPlayList::DeleteSong(ITunesSong* song, int count, uint32_t deleteInITunes,
                               ITunesTrackLookup* client) {
    try {
        int removed = 0;
        size_t i = 0;
        while (i < m_songs.size() && (count < 0 || removed < count)) {
            if (m_songs[i] != song) {
                ++i;
                continue;
            }
            const int binding = BindingOwnedHere(*song);
            if (binding >= 0 && deleteInITunes) {
                if (const int result = DeleteTrack(*song->GetTrack(binding), client))
                    return result;
            }
            m_songs.erase(m_songs.begin() + i);
            if (binding < 0)
                continue;
            ++removed;
            if (ReleaseBinding(song, binding))
                break;
        }
        return 0;
    } catch (...) {
        return kErrorPlayListDeleteSong;
    }
}

int ITunesPlayList::AddSongToPlayList(ITunesSong* song) {
    if (!m_object || !song || song->GetTrackCount() == 0)
        return kErrorInvalidElement;
    try {
        const ITunesTrackRef track = song->GetTrack(0)->track;
        if (!track)
            return kErrorITunesCall;
        ITunesTrackRef added;
        if (m_object->AddTrack(track, added) != 0)
            return kErrorITunesCall;
        if (!added)
            return kErrorITunesRefused;
        int32_t trackID = 0;
        if (added->GetNumber(ITunesTrackProperty::TrackID, trackID) != 0)
            return kErrorITunesCall;
        ITunesTrackBinding binding;
        binding.track = added;
        binding.trackID = trackID;
        AppendBound(song, std::move(binding));
        return 0;
    } catch (...) {
        return kErrorAddToPlayList;
    }
}

// A song is handed back to the index only when this playlist dropped its last binding: a song that was
// never bound here is someone else's to free.
void ITunesPlayList::Unbind() {
    m_object.reset();
    const std::vector<ITunesSong*> songs = std::move(m_songs);
    m_songs.clear();
    m_sorted.reset();
    std::set<ITunesSong*> released;
    for (ITunesSong* song : songs) {
        if (released.count(song))
            continue;
        const int binding = BindingOwnedHere(*song);
        if (binding < 0)
            continue;
        song->RemoveTrack(binding);
        if (song->GetTrackCount() > 0)
            continue;
        released.insert(song);
        if (m_index)
            m_index->Remove(song);
    }
    m_savedIDs.clear();
}

// A playlist loaded but not yet resolved into songs keeps its saved ids when it is saved again.
int ITunesPlayList::Serialize(AFile& stream) const {
    using namespace recordio;
    if (const int result = WriteU32(stream, kVersion))
        return result;
    if (const int result = m_name.Serialize(stream))
        return result;
    if (const int result = WriteI32(stream, m_id))
        return result;
    if (const int result = WriteU32(stream, m_kind))
        return result;
    std::vector<int32_t> ids;
    for (const ITunesSong* song : m_songs)
        ids.push_back(static_cast<int32_t>(song->GetDatabaseID()));
    if (m_songs.empty())
        ids = m_savedIDs;
    if (const int result = WriteU32(stream, static_cast<uint32_t>(ids.size())))
        return result;
    for (const int32_t id : ids) {
        if (const int result = WriteI32(stream, id))
            return result;
    }
    for (const uint32_t word : {m_layout.type, m_layout.genre, m_layout.album}) {
        if (const int result = WriteU32(stream, word))
            return result;
    }
    return m_folderPattern.Serialize(stream);
}

// The id count comes from the stream: the ids are read one by one into growing storage, so a false
// count costs nothing and the saved ids are always those actually read.
int ITunesPlayList::Load(AFile& stream) {
    using namespace recordio;
    Unbind();
    if (const int result = ReadVersion(stream, kVersion))
        return result;
    if (const int result = m_name.Load(stream))
        return result;
    if (const int result = ReadI32(stream, m_id))
        return result;
    if (const int result = ReadU32(stream, m_kind))
        return result;
    uint32_t count = 0;
    if (const int result = ReadU32(stream, count))
        return result;
    for (uint32_t i = 0; i < count; ++i) {
        int32_t id = 0;
        if (const int result = ReadI32(stream, id))
            return result;
        m_savedIDs.push_back(id);
    }
    for (uint32_t* word : {&m_layout.type, &m_layout.genre, &m_layout.album}) {
        if (const int result = ReadU32(stream, *word))
            return result;
    }
    return m_folderPattern.Load(stream);
}
