#include "library/ipod/ITunesDBPodDatabase.h"

#include "foundation/ErrorCodes.h"
#include "library/entries/EntryText.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPlayList.h"
#include "library/ipod/ITunesDBPlayListList.h"
#include "library/ipod/ITunesDBString.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/ipod/PodSongInfo.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/PathSeparator.h"

#include <limits>
#include <map>
#include <random>

namespace {

constexpr uint32_t kRatingMask = 0xFFu << ITunesDBTrack::kRatingShift;

AString Text(const std::u16string& text) {
    return AString(std::u16string_view(text));
}

std::u16string CommentOf(const ITunesDBTrack& track) {
    for (uint32_t i = 0; i < track.GetStringCount(); ++i) {
        if (track.GetString(i).GetType() == ITunesDBString::kComment)
            return track.GetString(i).GetText().GetCString();
    }
    return {};
}

// Every number of the track that the description of a new track does not carry exactly.
void SetNumbers(ITunesDBTrack& track, const itunesapp::PodTrack& pod) {
    track.SetField(ITunesDBTrack::kTrackNumberOffset, pod.fields.trackNumber);
    track.SetField(ITunesDBTrack::kYearOffset, pod.fields.year);
    track.SetField(ITunesDBTrack::kBitRateOffset, pod.fields.bitRate);
    track.SetField(ITunesDBTrack::kLengthOffset, pod.fields.totalTimeMs);
    track.SetField(ITunesDBTrack::kFileSizeOffset, static_cast<uint32_t>(pod.size));
    track.SetUnixTime(ITunesDBTrack::kModTimeOffset, pod.modifiedUnix);
    track.SetField(ITunesDBTrack::kPlayCountOffset, pod.playedCount);
    track.SetUnixTime(ITunesDBTrack::kLastPlayedOffset, pod.playedUnix);
    const uint32_t flags = track.GetField(ITunesDBTrack::kFileTypeOffset) & ~kRatingMask;
    track.SetField(ITunesDBTrack::kFileTypeOffset, flags | (pod.rating << ITunesDBTrack::kRatingShift));
}

void SetComment(ITunesDBTrack& track, const std::u16string& comment) {
    if (!comment.empty() || !CommentOf(track).empty())
        track.SetString(Text(comment), ITunesDBString::kComment);
}

PodSongInfo DescriptionOf(const itunesapp::PodTrack& pod) {
    PodSongInfo song;
    song.title = song.displayName = Text(pod.fields.name);
    song.album = Text(pod.fields.album);
    song.artist = Text(pod.fields.artist);
    song.genre = Text(pod.fields.genre);
    song.composer = Text(pod.fields.composer);
    song.path = AString(pod.pathOnPod);
    song.path.GetExtension(song.extension);
    return song;
}

} // namespace

ITunesDBPodDatabase::ITunesDBPodDatabase(std::string mountPoint)
    : m_mountPoint(std::move(mountPoint)), m_database(std::make_unique<ITunesDB>()) {}

ITunesDBPodDatabase::~ITunesDBPodDatabase() = default;

itunesapp::PodDatabaseOpener ITunesDBPodDatabase::Opener() {
    return [](const std::string& mountPoint) -> std::unique_ptr<itunesapp::PodDatabase> {
        const AString drive = AString(mountPoint);
        if (!nativefiles::IsReadableFile(ITunesDB::DatabasePath(drive).ToSystem8Bit()))
            return nullptr;
        return std::make_unique<ITunesDBPodDatabase>(mountPoint);
    };
}

int ITunesDBPodDatabase::Read(itunesapp::PodContent& content) {
    auto database = std::make_unique<ITunesDB>();
    const AString drive = AString(m_mountPoint);
    if (const int result = database->ReadLibrary(&drive, true, CancelCallback(), nullptr))
        return result;
    m_database = std::move(database);
    NumberTracks();
    GivePlayListsIds();
    content = {};
    if (const ITunesDBTrackList* tracks = m_database->GetRoot().GetTrackList()) {
        tracks->ForEachTrack(
            [&](ITunesDBTrack& track) { content.tracks.push_back(PodTrackOf(track, m_ids.at(&track))); });
    }
    const std::vector<ITunesDBPlayListList*> lists = m_database->GetRoot().GetPlayListLists();
    if (!lists.empty()) {
        for (int i = 0; i < lists[0]->GetCount(); ++i)
            content.playLists.push_back(PodPlayListOf(*lists[0]->GetPlayList(i), i == 0));
    }
    return 0;
}

// The ids the database was written with, while they are positive and unique; the others follow them.
void ITunesDBPodDatabase::NumberTracks() {
    m_tracks.clear();
    m_ids.clear();
    const ITunesDBTrackList* tracks = m_database->GetRoot().GetTrackList();
    if (!tracks)
        return;
    std::vector<ITunesDBTrack*> unnumbered;
    tracks->ForEachTrack([&](ITunesDBTrack& track) {
        const uint32_t id = track.GetTrackId();
        if (id == 0 || id > uint32_t(std::numeric_limits<int32_t>::max()) || m_tracks.contains(int32_t(id)))
            unnumbered.push_back(&track);
        else
            Remember(&track, static_cast<int32_t>(id));
    });
    m_nextId = 1;
    for (const auto& [id, track] : m_tracks)
        m_nextId = std::max(m_nextId, id + 1);
    for (ITunesDBTrack* track : unnumbered)
        Remember(track, m_nextId++);
}

void ITunesDBPodDatabase::Remember(ITunesDBTrack* track, int32_t id) {
    m_tracks[id] = track;
    m_ids[track] = id;
}

// Playlists written without a persistent id get one; those of one name share it across the lists.
void ITunesDBPodDatabase::GivePlayListsIds() {
    std::map<AString, uint64_t, decltype([](const AString& a, const AString& b) { return a.Compare(b) < 0; })>
        given;
    for (ITunesDBPlayListList* list : m_database->GetRoot().GetPlayListLists()) {
        for (int i = 0; i < list->GetCount(); ++i) {
            ITunesDBPlayList* playList = list->GetPlayList(i);
            if (playList->GetPersistentId() != 0)
                continue;
            AString name;
            playList->GetName(name);
            const auto [found, added] = given.emplace(name, 0);
            if (added)
                found->second = NewPlayListId();
            playList->SetPersistentId(found->second);
        }
    }
}

// Drawn at random, as other writers of the format draw theirs: an id must not meet one that another
// computer gave.
uint64_t ITunesDBPodDatabase::NewPlayListId() const {
    thread_local std::mt19937_64 random(std::random_device{}());
    for (;;) {
        const uint64_t id = random();
        if (id != 0 && FindPlayLists(id).empty())
            return id;
    }
}

itunesapp::PodTrack ITunesDBPodDatabase::PodTrackOf(const ITunesDBTrack& track, int32_t id) const {
    itunesapp::PodTrack pod;
    pod.id = id;
    pod.fields.name = track.GetTitle().GetCString();
    pod.fields.album = track.GetAlbum().GetCString();
    pod.fields.artist = track.GetArtist().GetCString();
    pod.fields.genre = track.GetGenre().GetCString();
    pod.fields.composer = track.GetComposer().GetCString();
    pod.fields.comment = CommentOf(track);
    pod.fields.trackNumber = track.GetField(ITunesDBTrack::kTrackNumberOffset);
    pod.fields.year = track.GetField(ITunesDBTrack::kYearOffset);
    pod.fields.bitRate = track.GetBitRate();
    pod.fields.totalTimeMs = track.GetField(ITunesDBTrack::kLengthOffset);
    std::string path = track.GetPath().ToSystem8Bit();
    pod.pathOnPod = path.starts_with(kPathSeparator) ? path.substr(1) : path;
    pod.size = track.GetFileSize();
    pod.modifiedUnix = track.GetUnixTime(ITunesDBTrack::kModTimeOffset);
    pod.playedCount = track.GetField(ITunesDBTrack::kPlayCountOffset);
    pod.playedUnix = track.GetUnixTime(ITunesDBTrack::kLastPlayedOffset);
    pod.rating = track.GetField(ITunesDBTrack::kFileTypeOffset) >> ITunesDBTrack::kRatingShift;
    return pod;
}

itunesapp::PodPlayList ITunesDBPodDatabase::PodPlayListOf(const ITunesDBPlayList& playList,
                                                          bool master) const {
    itunesapp::PodPlayList pod;
    pod.id = playList.GetPersistentId();
    AString name;
    playList.GetName(name);
    pod.name = name.GetCString();
    pod.master = master;
    for (int i = 0; i < playList.GetItemCount(); ++i) {
        const auto found = m_ids.find(playList.GetItem(i).GetTrack());
        if (found != m_ids.end())
            pod.trackIDs.push_back(found->second);
    }
    return pod;
}

ITunesDBTrack* ITunesDBPodDatabase::FindTrack(int32_t id) const {
    const auto found = m_tracks.find(id);
    return found == m_tracks.end() ? nullptr : found->second;
}

std::vector<ITunesDBPlayList*> ITunesDBPodDatabase::FindPlayLists(uint64_t id) const {
    std::vector<ITunesDBPlayList*> found;
    for (const ITunesDBPlayListList* list : m_database->GetRoot().GetPlayListLists()) {
        for (int i = 0; i < list->GetCount(); ++i) {
            if (list->GetPlayList(i)->GetPersistentId() == id)
                found.push_back(list->GetPlayList(i));
        }
    }
    return found;
}

int ITunesDBPodDatabase::AddTrack(itunesapp::PodTrack& track) {
    ITunesDBTrack* added = nullptr;
    if (const int result = m_database->AddTrack(DescriptionOf(track), &added, true))
        return result;
    SetNumbers(*added, track);
    SetComment(*added, track.fields.comment);
    track.id = m_nextId++;
    Remember(added, track.id);
    return 0;
}

int ITunesDBPodDatabase::UpdateTrack(const itunesapp::PodTrack& track) {
    ITunesDBTrack* held = FindTrack(track.id);
    if (!held)
        return kErrorInvalidElement;
    const PodSongInfo description = DescriptionOf(track);
    if (held->GetTitle() != description.displayName.Trimmed())
        m_database->GetRoot().GetTrackList()->SetTitle(*held, description.displayName);
    held->SetString(description.album.Trimmed(), ITunesDBString::kAlbum);
    held->SetString(description.artist.Trimmed(), ITunesDBString::kArtist);
    held->SetString(description.genre.Trimmed(), ITunesDBString::kGenre);
    held->SetString(description.composer.Trimmed(), ITunesDBString::kComposer);
    SetComment(*held, track.fields.comment);
    held->SetPath(description.path);
    SetNumbers(*held, track);
    return 0;
}

int ITunesDBPodDatabase::RemoveTrack(int32_t id) {
    ITunesDBTrack* held = FindTrack(id);
    if (!held)
        return kErrorInvalidElement;
    AString entry;
    AppendEntryId(entry, static_cast<int64_t>(held->GetHandle()));
    m_ids.erase(held);
    m_tracks.erase(id);
    m_database->RemoveTrack(entry);
    return 0;
}

int ITunesDBPodDatabase::CreatePlayList(const std::u16string& name, uint64_t& id) {
    const std::vector<ITunesDBPlayListList*> lists = m_database->GetRoot().GetPlayListLists();
    if (lists.empty())
        return kErrorInvalidPlayList;
    id = NewPlayListId();
    for (ITunesDBPlayListList* list : lists) {
        ITunesDBPlayList* playList = list->Add(std::make_unique<ITunesDBPlayList>(false));
        playList->SetName(Text(name));
        playList->SetPersistentId(id);
    }
    return 0;
}

int ITunesDBPodDatabase::RenamePlayList(uint64_t id, const std::u16string& name) {
    const std::vector<ITunesDBPlayList*> playLists = FindPlayLists(id);
    for (ITunesDBPlayList* playList : playLists)
        playList->SetName(Text(name));
    return playLists.empty() ? kErrorInvalidPlayList : 0;
}

// The master playlist holds every track of the iPod: it is never deleted.
int ITunesDBPodDatabase::DeletePlayList(uint64_t id) {
    const std::vector<ITunesDBPlayList*> playLists = FindPlayLists(id);
    for (ITunesDBPlayListList* list : m_database->GetRoot().GetPlayListLists()) {
        if (list->GetMaster() && list->GetMaster()->GetPersistentId() == id)
            return kErrorInvalidPlayList;
    }
    for (ITunesDBPlayListList* list : m_database->GetRoot().GetPlayListLists()) {
        for (const ITunesDBPlayList* playList : playLists)
            list->Remove(playList);
    }
    return playLists.empty() ? kErrorInvalidPlayList : 0;
}

int ITunesDBPodDatabase::SetPlayListTracks(uint64_t id, const std::vector<int32_t>& trackIDs) {
    std::vector<ITunesDBTrack*> tracks;
    for (const int32_t trackID : trackIDs) {
        ITunesDBTrack* track = FindTrack(trackID);
        if (!track)
            return kErrorInvalidElement;
        tracks.push_back(track);
    }
    const std::vector<ITunesDBPlayList*> playLists = FindPlayLists(id);
    for (ITunesDBPlayList* playList : playLists)
        playList->SetTracks(tracks);
    return playLists.empty() ? kErrorInvalidPlayList : 0;
}

int ITunesDBPodDatabase::Save() {
    return m_database->Save(nullptr);
}
