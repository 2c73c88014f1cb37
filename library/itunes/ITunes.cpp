#include "library/itunes/ITunes.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/SongFilters.h"
#include "library/itunes/GuardedCall.h"
#include "library/itunes/ITunesAppPlayList.h"
#include "library/itunes/ITunesAppTrack.h"
#include "library/itunes/ITunesDates.h"
#include "library/itunes/ITunesEventHandler.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/ITunesStatusCode.h"
#include "library/itunes/ITunesTrackValues.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/itunes/ProgressRange.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/OperationStatus.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/PlaylistCollection.h"
#include "platform/itunes/Source.h"
#include "platform/itunes/SourceCollection.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "platform/itunes/TrackEnumerator.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>

using itunesapp::PlaylistKind;
using itunesapp::SourceKind;
using itunesapp::SpecialKind;
using itunesapp::Status;
using itunesapp::Track;

namespace {

constexpr int kAddTries = 3;
constexpr int kVersionRounds = 3;
constexpr auto kAddPollInterval = std::chrono::milliseconds(1);

int Code(Status status) {
    return ITunesStatusCode(status);
}

// The kind word of a playlist record: the special kinds 1 to 9 (purchased music, party shuffle,
// podcasts, folders, videos, music, movies, TV shows, audiobooks) give 2 to 10, else a smart playlist
// gives 1 and a plain user playlist 0. ITunesPlayList::AccessOf tells which a sync may change.
uint32_t PlayListKindOf(SpecialKind special, bool smart) {
    const auto number = static_cast<uint32_t>(special);
    if (special != SpecialKind::None && special <= SpecialKind::Audiobooks)
        return number + 1;
    return smart ? ITunesPlayList::kSmart : ITunesPlayList::kUser;
}

// Saturated, so that no version text can overflow the number made of three of them.
int LeadingNumber(const AString& text) {
    constexpr int kLargest = 1000000;
    int number = 0;
    for (int i = 0; i < text.GetLength() && text.GetAt(i) >= u'0' && text.GetAt(i) <= u'9'; ++i)
        number = std::min(kLargest, number * 10 + (text.GetAt(i) - u'0'));
    return number;
}

bool PassesSongFilters(const SongFilters& filter, const ITunesTrackValues& values, const EntryLayout& layout) {
    return filter.PassesGenre(values.genre, layout) && filter.PassesArtist(values.artist) &&
           filter.PassesAlbum(values.album, layout) && filter.PassesTitle(values.name);
}

// Played date and played count, rating, comment and equalizer, each when chosen and not empty.
int WritePlayData(const Track& track, const ITunesPlayData& data, const ITunesPlayDataFields& fields) {
    using itunesapp::NumberField;
    using itunesapp::TextField;
    if (fields.playedCount) {
        if (const int result = Code(track.SetNumber(NumberField::PlayedCount, data.playedCount)))
            return result;
    }
    if (fields.playedDate && data.playedTime != 0) {
        const double date = OleDateFromMacTime(data.playedTime);
        if (const int result = Code(track.SetDate(itunesapp::DateField::Played, date)))
            return result;
    }
    if (fields.rating) {
        if (const int result = Code(track.SetNumber(NumberField::Rating, data.rating)))
            return result;
    }
    if (fields.comment && !data.comment.IsEmpty()) {
        if (const int result = Code(track.SetText(TextField::Comment, data.comment.GetCString())))
            return result;
    }
    if (fields.equalizer && !data.equalizer.IsEmpty())
        return Code(track.SetText(TextField::Equalizer, data.equalizer.GetCString()));
    return 0;
}

// A new track takes what the key carries.
ITunesPlayDataFields FieldsOfNewTrack(const ITunesPlayData& data) {
    return {true, data.playedCount != 0, data.rating != 0, true, true};
}

// "15 / 2000", made for every track: without the detours of the general text conversions.
AString CountText(int done, const std::u16string& ofTotal) {
    char digits[16];
    char* end = std::to_chars(std::begin(digits), std::end(digits), done).ptr;
    std::u16string text(std::begin(digits), end);
    text += ofTotal;
    return AString(std::move(text));
}

} // namespace

ITunes::ITunes(ITunesEventTarget* owner)
    : m_folderPattern(FolderPatternFor(m_layout)), m_events(std::make_shared<ITunesEventHandler>()) {
    m_events->SetOwner(owner);
}

ITunes::~ITunes() {
    m_events->SetOwner(nullptr);
    ClearSongIndex();
    Disconnect();
}

int ITunes::Probe() const {
    if (!m_application)
        return kErrorNotConnected;
    std::u16string version;
    return m_application->GetVersion(version) == Status::Gone ? kErrorNotConnected : 0;
}

int ITunes::EnsureConnected() {
    return Probe() == 0 ? 0 : Connect();
}

bool ITunes::IsConnected() const {
    return Probe() == 0;
}

int ITunes::Connect() {
    if (Probe() == 0)
        return 0;
    m_application.reset();
    std::shared_ptr<itunesapp::Application> application;
    if (const Status created = itunesapp::Application::Create(application); created != Status::Ok)
        return Code(created);
    uint32_t cookie = 0;
    if (application->Subscribe(m_events, cookie) != Status::Ok)
        return kErrorITunesCall;
    m_application = std::move(application);
    m_cookie = cookie;
    return 0;
}

AString ITunes::LibraryProblem() {
    return AString::FromSystem8Bit(itunesapp::ITunesInstance::Running().LibraryProblem());
}

void ITunes::ReleaseTracks() {
    m_songs.ForEach([](const ITunesSong& song) {
        for (int i = 0; i < song.GetTrackCount(); ++i)
            song.GetTrack(i)->track.reset();
    });
}

int ITunes::Disconnect() {
    ReleaseTracks();
    if (m_application)
        m_application->Unsubscribe(m_cookie);
    m_application.reset();
    m_cookie = 0;
    return 0;
}

int ITunes::GetVersionString(AString& out) const {
    if (const int result = Probe())
        return result;
    std::u16string version;
    if (const int result = Code(m_application->GetVersion(version)))
        return result;
    out = AString(std::move(version));
    return 0;
}

int ITunes::VersionNumberOf(const AString& version) {
    AString text = version;
    int number = 0;
    for (int round = 0; round < kVersionRounds; ++round) {
        number = number * 10 + LeadingNumber(text);
        const int dot = text.Find(u'.');
        if (dot >= 0)
            text = text.Mid(dot + 1);
    }
    return number;
}

int ITunes::GetVersionNumber(int& out) const {
    AString text;
    if (const int result = GetVersionString(text))
        return result;
    out = VersionNumberOf(text);
    return 0;
}

void ITunes::SetFolderLayout(const EntryLayout& layout) {
    m_layout = layout;
    m_folderPattern = FolderPatternFor(layout);
}

ITunesPlayList* ITunes::GetPlayList(int index) const {
    if (index < 0 || index >= GetPlayListCount())
        return nullptr;
    return m_playLists[index].get();
}

int ITunes::SourcesOfKind(SourceKind kind, std::vector<std::shared_ptr<itunesapp::Source>>& found) {
    std::shared_ptr<itunesapp::SourceCollection> sources;
    int32_t count = 0;
    if (const int result = Code(m_application->GetSources(sources)))
        return result;
    if (const int result = Code(sources->GetCount(count)))
        return result;
    found.clear();
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<itunesapp::Source> source;
        SourceKind sourceKind{};
        if (const int result = Code(sources->GetItem(i, source)))
            return result;
        if (const int result = Code(source->GetKind(sourceKind)))
            return result;
        if (sourceKind == kind)
            found.push_back(std::move(source));
    }
    return 0;
}

// The playlists of the first library source.
int ITunes::LibraryPlayLists(std::shared_ptr<itunesapp::PlaylistCollection>& playLists) {
    std::vector<std::shared_ptr<itunesapp::Source>> libraries;
    if (const int result = SourcesOfKind(SourceKind::Library, libraries))
        return result;
    return libraries.empty() ? kErrorITunesCall : Code(libraries.front()->GetPlaylists(playLists));
}

namespace {

// The playlists of the collection that answer as that kind, in its order.
int PlayListsOfKind(const itunesapp::PlaylistCollection& playLists, PlaylistKind kind,
                    std::vector<std::shared_ptr<itunesapp::Playlist>>& found) {
    int32_t count = 0;
    if (const int result = Code(playLists.GetCount(count)))
        return result;
    found.clear();
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<itunesapp::Playlist> playList;
        PlaylistKind playListKind{};
        if (const int result = Code(playLists.GetItem(i, playList)))
            return result;
        if (const int result = Code(playList->GetKind(playListKind)))
            return result;
        if (playListKind == kind)
            found.push_back(std::move(playList));
    }
    return 0;
}

int FindLibraryPlayList(const itunesapp::PlaylistCollection& playLists,
                        std::shared_ptr<itunesapp::Playlist>& library) {
    std::vector<std::shared_ptr<itunesapp::Playlist>> libraries;
    if (const int result = PlayListsOfKind(playLists, PlaylistKind::Library, libraries))
        return result;
    if (libraries.empty())
        return kErrorITunesCall;
    library = libraries.front();
    return 0;
}

} // namespace

int ITunes::LibraryPlayList(std::shared_ptr<itunesapp::PlaylistCollection>& playLists,
                            std::shared_ptr<itunesapp::Playlist>& library) {
    if (const int result = LibraryPlayLists(playLists))
        return result;
    return FindLibraryPlayList(*playLists, library);
}

int ITunes::GetName(AString& out, bool refresh) {
    if (!refresh) {
        out = m_libraryName.IsEmpty() ? GetLibraryPlayListName() : m_libraryName;
        return 0;
    }
    return Guarded(kErrorITunesGetName, [&] {
        if (const int result = Probe())
            return result;
        std::shared_ptr<itunesapp::PlaylistCollection> playLists;
        std::shared_ptr<itunesapp::Playlist> library;
        if (const int result = LibraryPlayList(playLists, library))
            return result;
        std::u16string name;
        if (const int result = Code(library->GetName(name)))
            return result;
        m_libraryName = AString(std::move(name));
        out = m_libraryName;
        return 0;
    });
}

int ITunes::GetPodCount(int& count) {
    if (const int result = EnsureConnected())
        return result;
    std::vector<std::shared_ptr<itunesapp::Source>> pods;
    if (const int result = SourcesOfKind(SourceKind::IPod, pods))
        return result;
    count = static_cast<int>(pods.size());
    return 0;
}

int ITunes::FindPodSource(int n, std::shared_ptr<itunesapp::Source>& source, int32_t& sourceID) {
    if (const int result = Probe())
        return result;
    std::vector<std::shared_ptr<itunesapp::Source>> pods;
    if (const int result = SourcesOfKind(SourceKind::IPod, pods))
        return result;
    if (n < 0 || n >= static_cast<int>(pods.size()))
        return kErrorInvalidElement;
    if (const int result = Code(pods[static_cast<size_t>(n)]->GetSourceID(sourceID)))
        return result;
    source = pods[static_cast<size_t>(n)];
    return 0;
}

int ITunes::GetPodSourceName(AString& out, int n) {
    if (const int result = EnsureConnected())
        return result;
    std::shared_ptr<itunesapp::Source> source;
    int32_t sourceID = 0;
    if (const int result = FindPodSource(n, source, sourceID))
        return result;
    std::u16string name;
    if (const int result = Code(source->GetName(name)))
        return result;
    out = AString(std::move(name));
    return 0;
}

// --- The index and the entry list ---

ITunesSong* ITunes::FindSong(int32_t databaseID) const {
    return databaseID < 0 ? nullptr : m_songs.Find(static_cast<uint32_t>(databaseID));
}

ITunesSong* ITunes::IndexSong(std::unique_ptr<ITunesSong> song, const std::shared_ptr<Track>& track,
                              const itunesapp::ObjectIDs& ids) {
    auto binding = std::make_unique<ITunesTrackBinding>();
    binding->track = std::make_shared<ITunesAppTrack>(track);
    binding->owner = this;
    binding->kind = m_sideKind;
    binding->trackID = ids.trackID;
    binding->sourceID = ids.sourceID;
    binding->playListID = ids.playlistID;
    binding->databaseID = ids.databaseID;
    song->AddTrack(std::move(binding));
    return m_songs.Add(std::move(song));
}

void ITunes::ClearSongIndex() {
    m_playLists.clear();
    m_songs.Clear();
    m_entries.reset();
}

int ITunes::DeleteSong(int32_t databaseID, bool inITunes) {
    return Guarded(kErrorITunesChangeSong, [&] {
        ITunesSong* song = FindSong(databaseID);
        if (!song)
            return kErrorITunesDeleteSongUnknown;
        if (inITunes) {
            ITunesTrackBinding* binding = nullptr;
            for (int i = 0; i < song->GetTrackCount() && !binding; ++i) {
                if (song->GetTrack(i)->owner == this)
                    binding = song->GetTrack(i);
            }
            ITunesTrackRef track = binding ? binding->track : nullptr;
            if (binding && !track)
                track = GetTrackByID(binding->sourceID, binding->playListID, binding->trackID,
                                     binding->databaseID);
            if (!track)
                return kErrorITunesCall;
            if (const int result = track->Delete())
                return result;
        }
        const std::unique_ptr<ITunesSong> taken = m_songs.Take(song);
        for (const auto& playList : m_playLists)
            playList->Forget(song);
        return 0;
    });
}

int ITunes::GetSongCount() const {
    return m_entries ? static_cast<int>(m_entries->size()) : m_songs.GetCount();
}

void ITunes::SortEntries(bool ascending) {
    if (!m_entries) {
        m_entries.emplace();
        m_entries->reserve(static_cast<size_t>(m_songs.GetCount()));
        m_songs.ForEach([this](ITunesSong& song) { m_entries->push_back(song.BuildEntry(m_layout, true)); });
    }
    std::stable_sort(m_entries->begin(), m_entries->end(), [ascending](const AString& a, const AString& b) {
        return ascending ? a.CompareNoCase(b) < 0 : b.CompareNoCase(a) < 0;
    });
    m_entriesAscending = ascending;
}

void ITunes::EnsureEntries() {
    if (!m_entries)
        SortEntries(true);
}

int32_t ITunes::DatabaseIDOfEntry(const AString& entry) {
    return entry.Mid(entry.ReverseFind(kEntryIdSeparator) + 1).ToInt(10);
}

ITunesSong* ITunes::GetSongAt(int index) {
    EnsureEntries();
    if (index < 0 || index >= static_cast<int>(m_entries->size()))
        return nullptr;
    return FindSong(DatabaseIDOfEntry((*m_entries)[index]));
}

ITunesSong* ITunes::FindSongByEntry(const AString& text) {
    AString key = text;
    if (key.IsEmpty() || key.GetAt(0) != kEntryLevelSeparator)
        key.Insert(0, AString("\\"));
    const int colon = key.ReverseFind(u':');
    if (colon >= 0)
        key = key.Left(colon);
    EnsureEntries();
    int low = 0;
    int high = static_cast<int>(m_entries->size()) - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int order = (*m_entries)[middle].CompareNoCase(key);
        if (order == 0)
            return FindSong(DatabaseIDOfEntry((*m_entries)[middle]));
        // In a descending list the greater texts come first.
        if ((order > 0) == m_entriesAscending)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return nullptr;
}

void ITunes::RemoveEntry(int index) {
    if (m_entries && index >= 0 && index < static_cast<int>(m_entries->size()))
        m_entries->erase(m_entries->begin() + index);
}

// --- The master list ---

int ITunes::Reload(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                   const CancelCallback& cancel, AProgress* progress) {
    ClearSongIndex();
    const int result = LoadMasterList(withPlayListSongs, playListName, filter, cancel, progress);
    if (result != 0)
        ClearSongIndex();
    return result;
}

int ITunes::LoadMasterList(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                           const CancelCallback& cancel, AProgress* progress) {
    return Guarded(kErrorITunesLoadMasterList, [&] {
        return LoadMasterListSteps(withPlayListSongs, playListName, filter, cancel, progress);
    });
}

int ITunes::LoadMasterListSteps(bool withPlayListSongs, const AString& playListName, const SongFilters* filter,
                                const CancelCallback& cancel, AProgress* progress) {
    if (const int result = Probe())
        return result;
    std::shared_ptr<itunesapp::PlaylistCollection> playLists;
    std::shared_ptr<itunesapp::Playlist> chosen;
    if (const int result = LibraryPlayLists(playLists))
        return result;
    if (const int result = ChooseMasterPlayList(*playLists, playListName, chosen))
        return result;
    if (const int result = TakeLibraryPlayList(*chosen))
        return result;
    const auto readTrack = [&](const std::shared_ptr<Track>& track) {
        return ReadMasterTrack(track, filter);
    };
    if (const int result = ReadMasterTracks(*chosen, cancel, progress, readTrack))
        return result;
    return ReadPlayLists(*playLists, withPlayListSongs, playListName, cancel, progress);
}

// Without a name, the library playlist; with one, the first playlist of exactly that name, which must
// be a user playlist. The first playlist's name is the process's library playlist name from now on.
int ITunes::ChooseMasterPlayList(const itunesapp::PlaylistCollection& playLists, const AString& playListName,
                                 std::shared_ptr<itunesapp::Playlist>& chosen) {
    std::shared_ptr<itunesapp::Playlist> first;
    std::u16string firstName;
    if (const int result = Code(playLists.GetItem(1, first)))
        return result;
    if (const int result = Code(first->GetName(firstName)))
        return result;
    SetLibraryPlayListName(AString(std::move(firstName)));
    if (playListName.IsEmpty())
        return FindLibraryPlayList(playLists, chosen);
    PlaylistKind kind{};
    if (playLists.GetItemByName(playListName.GetCString(), chosen) != Status::Ok ||
        chosen->GetKind(kind) != Status::Ok || kind != PlaylistKind::User)
        return kErrorInvalidPlayList;
    return 0;
}

int ITunes::TakeLibraryPlayList(const itunesapp::Playlist& playList) {
    std::u16string name;
    if (const int result = Code(playList.GetName(name)))
        return result;
    if (const int result = Code(playList.GetSourceID(m_sourceID)))
        return result;
    if (const int result = Code(playList.GetPlaylistID(m_playListID)))
        return result;
    m_libraryName = AString(std::move(name));
    return 0;
}

int ITunes::WalkTracks(const itunesapp::TrackCollection& tracks, const CancelCallback& cancel,
                       AProgress* progress, const TrackVisit& visit) {
    int32_t total = 0;
    std::shared_ptr<itunesapp::TrackEnumerator> enumerator;
    if (const int result = Code(tracks.GetCount(total)))
        return result;
    if (const int result = Code(tracks.GetEnumerator(enumerator)))
        return result;
    std::vector<std::shared_ptr<Track>> batch;
    const std::u16string ofTotal = (AString(" / ") + AString::FromInt(total)).GetCString();
    int done = 0;
    for (Status status = Status::Ok; status == Status::Ok;) {
        status = enumerator->Next(kBatchSize, batch);
        if (status != Status::Ok && status != Status::Ended)
            return Code(status);
        for (const std::shared_ptr<Track>& track : batch) {
            if (cancel && cancel())
                return kUserCancel;
            ++done;
            if (progress) {
                const AString count = CountText(done, ofTotal);
                progress->SetPos(total > 0 ? double(done) / total : 1.0, nullptr, &count, nullptr, false);
            }
            if (const int result = visit(track))
                return result;
        }
    }
    return 0;
}

int ITunes::ReadMasterTracks(const itunesapp::Playlist& playList, const CancelCallback& cancel,
                             AProgress* progress, const TrackVisit& read) {
    std::shared_ptr<itunesapp::TrackCollection> tracks;
    int32_t count = 0;
    if (const int result = Code(playList.GetTracks(tracks)))
        return result;
    if (const int result = Code(tracks->GetCount(count)))
        return result;
    m_songs.Reserve(static_cast<size_t>(m_songs.GetCount()) + static_cast<size_t>(std::max(count, 0)));
    const AString loading = AString("Loading ") + m_sourceWord + " Master List...";
    const AString done = AString("Loading ") + m_sourceWord + " Master List Done!";
    ProgressRange range(progress, 0.5, &loading);
    const int result = WalkTracks(*tracks, cancel, progress, read);
    if (result == 0)
        range.Close(&done);
    return result;
}

// URL tracks, what the filter leaves out and tracks read before are skipped; the filters look at the
// cheap values first.
int ITunes::ReadMasterTrack(const std::shared_ptr<Track>& track, const SongFilters* filter) {
    ITunesTrackValues values;
    if (const int result = values.ReadLocation(*track))
        return result;
    if (values.kind != itunesapp::TrackKind::File)
        return 0;
    if (filter && (!filter->PassesType(values.path) || !filter->PassesName(values.path)))
        return 0;
    if (const int result = values.ReadFilterTexts(*track))
        return result;
    if (filter && !PassesSongFilters(*filter, values, m_layout))
        return 0;
    if (const int result = values.ReadOthers(*track))
        return result;
    // A playlist read as the master list may name a track twice: one song record stands for it.
    if (FindSong(values.ids.databaseID))
        return 0;
    const itunesapp::ObjectIDs ids = values.ids;
    IndexSong(std::move(values).MakeSong(), track, ids);
    return 0;
}

int ITunes::AddPlayListRecord(const std::shared_ptr<itunesapp::Playlist>& playList, ITunesPlayList*& record) {
    SpecialKind special{};
    bool smart = false;
    std::u16string name;
    int32_t id = 0;
    if (const int result = Code(playList->GetSpecialKind(special)))
        return result;
    if (const int result = Code(playList->GetSmart(smart)))
        return result;
    if (const int result = Code(playList->GetName(name)))
        return result;
    if (const int result = Code(playList->GetPlaylistID(id)))
        return result;
    auto made = std::make_unique<ITunesPlayList>(&m_songs);
    made->SetName(AString(std::move(name)), 0);
    made->SetID(id);
    made->SetKind(PlayListKindOf(special, smart));
    made->SetPlayListObject(std::make_shared<ITunesAppPlayList>(playList));
    record = made.get();
    m_playLists.push_back(std::move(made));
    return 0;
}

int ITunes::ReadPlayLists(const itunesapp::PlaylistCollection& playLists, bool withSongs,
                          const AString& playListName, const CancelCallback& cancel, AProgress* progress) {
    std::vector<std::shared_ptr<itunesapp::Playlist>> users;
    if (const int result = PlayListsOfKind(playLists, PlaylistKind::User, users))
        return result;
    ProgressRange range(progress, 0.5, nullptr);
    for (const std::shared_ptr<itunesapp::Playlist>& playList : users) {
        ITunesPlayList* record = nullptr;
        if (const int result = AddPlayListRecord(playList, record))
            return result;
        AString name;
        record->GetName(name, 0);
        if (!withSongs || (!playListName.IsEmpty() && name != playListName))
            continue;
        const AString loading = AString("Loading ") + m_sourceWord + " Playlist " + name + "...";
        ProgressRange songsRange(progress, 1.0 / static_cast<double>(users.size()), &loading);
        if (const int result = ReadPlayListSongs(*record, *playList, cancel, progress))
            return result;
        const AString done = AString("Loading ") + m_sourceWord + " Playlist " + name + " Done!";
        songsRange.Close(&done);
    }
    return 0;
}

// Each occurrence of an indexed song is bound on its own, so a song listed twice stands twice in the
// record. What the index does not hold (URL tracks, songs the master list left out) is skipped.
int ITunes::ReadPlayListSongs(ITunesPlayList& record, const itunesapp::Playlist& playList,
                              const CancelCallback& cancel, AProgress* progress) {
    std::shared_ptr<itunesapp::TrackCollection> tracks;
    if (const int result = Code(playList.GetTracks(tracks)))
        return result;
    return WalkTracks(*tracks, cancel, progress, [&](const std::shared_ptr<Track>& track) {
        itunesapp::ObjectIDs ids;
        if (const int result = Code(track->GetObjectIDs(ids)))
            return result;
        ITunesSong* song = FindSong(ids.databaseID);
        if (!song)
            return 0;
        ITunesTrackBinding binding;
        binding.track = std::make_shared<ITunesAppTrack>(track);
        binding.trackID = ids.trackID;
        binding.sourceID = ids.sourceID;
        binding.playListID = ids.playlistID;
        binding.databaseID = ids.databaseID;
        record.AppendBound(song, std::move(binding));
        return 0;
    });
}

// --- Playlists ---

int ITunes::LoadPlayLists(bool keepSongs) {
    return Guarded(kErrorITunesLoadPlayLists, [&] {
        if (keepSongs)
            m_playLists.clear();
        else
            ClearSongIndex();
        if (const int result = EnsureConnected())
            return result;
        std::shared_ptr<itunesapp::PlaylistCollection> playLists;
        std::shared_ptr<itunesapp::Playlist> library;
        if (const int result = LibraryPlayList(playLists, library))
            return result;
        if (const int result = TakeLibraryPlayList(*library))
            return result;
        SetLibraryPlayListName(m_libraryName);
        return ReadPlayLists(*playLists, false, AString(), nullptr, nullptr);
    });
}

int ITunes::CreatePlayList(const AString& name, ITunesPlayList** created) {
    if (const int result = Probe())
        return result;
    std::shared_ptr<itunesapp::Playlist> playList;
    if (const int result = Code(m_application->CreatePlaylist(name.GetCString(), playList)))
        return result;
    return KeepCreatedPlayList(playList, created);
}

int ITunes::KeepCreatedPlayList(const std::shared_ptr<itunesapp::Playlist>& playList,
                                ITunesPlayList** created) {
    ITunesPlayList* record = nullptr;
    if (const int result = AddPlayListRecord(playList, record))
        return result;
    if (created)
        *created = record;
    return 0;
}

int ITunes::DeletePlayListByName(const AString& name) {
    if (const int result = Probe())
        return result;
    std::shared_ptr<itunesapp::PlaylistCollection> playLists;
    if (const int result = LibraryPlayLists(playLists))
        return result;
    return DeleteNamedPlayList(*playLists, name);
}

int ITunes::DeleteNamedPlayList(const itunesapp::PlaylistCollection& playLists, const AString& name) {
    std::shared_ptr<itunesapp::Playlist> playList;
    if (const int result = Code(playLists.GetItemByName(name.GetCString(), playList)))
        return result;
    return Code(playList->Delete());
}

int ITunes::DeletePlayList(int index, bool inITunes) {
    ITunesPlayList* record = GetPlayList(index);
    if (!record)
        return kErrorInvalidElement;
    if (inITunes) {
        ITunesPlayListObject* object = record->GetPlayListObject();
        if (!object)
            return kErrorITunesCall;
        if (const int result = object->Delete())
            return result;
    }
    m_playLists.erase(m_playLists.begin() + index);
    return 0;
}

// --- Adding files and writing play data ---

int ITunes::RunAdd(const std::function<Status(std::shared_ptr<itunesapp::OperationStatus>&)>& start,
                   std::shared_ptr<itunesapp::TrackCollection>& tracks) {
    std::shared_ptr<itunesapp::OperationStatus> operation;
    for (int attempt = 0; attempt < kAddTries && !operation; ++attempt) {
        if (start(operation) != Status::Ok)
            operation.reset();
    }
    if (!operation)
        return kErrorITunesRefused;
    for (bool inProgress = true; inProgress;) {
        if (const int result = Code(operation->GetInProgress(inProgress)))
            return result;
        if (inProgress)
            std::this_thread::sleep_for(kAddPollInterval);
    }
    return Code(operation->GetTracks(tracks));
}

int ITunes::AddTrackSong(const std::shared_ptr<Track>& track, ITunesSong*& song) {
    ITunesTrackValues values;
    if (const int result = values.ReadAll(*track))
        return result;
    const itunesapp::ObjectIDs ids = values.ids;
    song = IndexSong(std::move(values).MakeSong(), track, ids);
    return 0;
}

ITunesSong* ITunes::ExistingSong(const AString& path) {
    ITunesSong* found = nullptr;
    m_songs.ForEach([&](ITunesSong& song) {
        if (!found && song.GetPath() == path)
            found = &song;
    });
    if (found)
        return found;
    std::shared_ptr<itunesapp::Playlist> library;
    std::shared_ptr<itunesapp::TrackCollection> tracks;
    if (m_application->GetLibraryPlaylist(library) != Status::Ok || library->GetTracks(tracks) != Status::Ok)
        return nullptr;
    const std::string location = path.ToSystem8Bit();
    constexpr int kFound = 1; // ends the walk
    WalkTracks(*tracks, nullptr, nullptr, [&](const std::shared_ptr<Track>& track) {
        std::string candidate;
        if (track->GetLocation(candidate) != Status::Ok || candidate != location)
            return 0;
        AddTrackSong(track, found);
        return kFound;
    });
    return found;
}

int ITunes::AddFile(const AString& path, const AString* key, ITunesSong*& song) {
    song = nullptr;
    return Guarded(kErrorITunesAddFile, [&] {
        if (const int result = Probe())
            return result;
        if (path.IsEmpty())
            return kErrorInvalidPath;
        const ITunesPlayData data = key ? ITunesPlayData::FromKey(*key) : ITunesPlayData();
        std::shared_ptr<itunesapp::Playlist> library;
        if (const int result = Code(m_application->GetLibraryPlaylist(library)))
            return result;
        if (!FileExists(path))
            return kErrorFileNotFound;
        std::shared_ptr<Track> track;
        const int added = AddFileTo(*library, path, track);
        // The application made no track: it holds the file already, or the file is no song it can read.
        if (added == kErrorDuplicate) {
            song = ExistingSong(path);
            return song ? kErrorDuplicate : kErrorFileType;
        }
        if (added != 0)
            return added;
        if (const int result = WritePlayData(*track, data, FieldsOfNewTrack(data)))
            return result;
        return AddTrackSong(track, song);
    });
}

int ITunes::AddFiles(const std::vector<AString>& paths, std::vector<ITunesSong*>& songs) {
    songs.clear();
    return Guarded(kErrorITunesAddFiles, [&] {
        if (const int result = Probe())
            return result;
        std::shared_ptr<itunesapp::Playlist> library;
        if (const int result = Code(m_application->GetLibraryPlaylist(library)))
            return result;
        return AddFilesTo(*library, paths, songs);
    });
}

int ITunes::AddFileTo(const itunesapp::Playlist& target, const AString& path, std::shared_ptr<Track>& track) {
    std::shared_ptr<itunesapp::TrackCollection> tracks;
    const std::string file = path.ToSystem8Bit();
    if (const int result = RunAdd([&](auto& status) { return target.AddFile(file, status); }, tracks))
        return result;
    int32_t count = 0;
    if (const int result = Code(tracks->GetCount(count)))
        return result;
    if (count == 0)
        return kErrorDuplicate;
    return Code(tracks->GetItem(1, track));
}

// No more songs than files: whatever the application answers, the caller's list stays in step with it.
int ITunes::AddFilesTo(const itunesapp::Playlist& target, const std::vector<AString>& paths,
                       std::vector<ITunesSong*>& songs) {
    std::vector<std::string> files;
    for (const AString& path : paths)
        files.push_back(path.ToSystem8Bit());
    std::shared_ptr<itunesapp::TrackCollection> tracks;
    if (const int result = RunAdd([&](auto& status) { return target.AddFiles(files, status); }, tracks))
        return result;
    int32_t count = 0;
    if (const int result = Code(tracks->GetCount(count)))
        return result;
    const int32_t most = std::min(count, static_cast<int32_t>(paths.size()));
    for (int32_t i = 1; i <= most; ++i) {
        std::shared_ptr<Track> track;
        ITunesSong* song = nullptr;
        if (const int result = Code(tracks->GetItem(i, track)))
            return result;
        if (AddTrackSong(track, song) == 0)
            songs.push_back(song);
    }
    return 0;
}

int ITunes::UpdateSongInfo(int32_t databaseID, const AString& key, const ITunesPlayDataFields& fields) {
    if (key.IsEmpty())
        return 0;
    return Guarded(kErrorITunesChangeSong, [&] {
        const ITunesPlayData data = ITunesPlayData::FromKey(key);
        const ITunesSong* song = FindSong(databaseID);
        if (!song)
            return kErrorITunesUpdateSongUnknown;
        if (const int result = Probe())
            return result;
        for (int i = 0; i < song->GetTrackCount(); ++i) {
            const ITunesTrackBinding& binding = *song->GetTrack(i);
            if (binding.owner != this)
                continue;
            std::shared_ptr<Track> track;
            const itunesapp::ObjectIDs ids{binding.sourceID, binding.playListID, binding.trackID,
                                           binding.databaseID};
            if (const int result = Code(m_application->GetTrackByIDs(ids, track)))
                return result;
            return WritePlayData(*track, data, fields);
        }
        return kErrorITunesCall;
    });
}

ITunesTrackRef ITunes::GetTrackByID(int32_t sourceID, int32_t playListID, int32_t trackID,
                                    int32_t databaseID) {
    std::shared_ptr<Track> track;
    if (!m_application ||
        m_application->GetTrackByIDs({sourceID, playListID, trackID, databaseID}, track) != Status::Ok)
        return nullptr;
    return std::make_shared<ITunesAppTrack>(std::move(track));
}

// --- The saved form ---

int ITunes::Serialize(AFile& stream) const {
    using namespace recordio;
    if (const int result = WriteU32(stream, kVersion))
        return result;
    if (const int result = m_libraryName.Serialize(stream))
        return result;
    if (const int result = WriteU32(stream, static_cast<uint32_t>(m_songs.GetCount())))
        return result;
    int result = 0;
    m_songs.ForEach([&](const ITunesSong& song) {
        if (result == 0)
            result = song.Serialize(stream);
    });
    if (result != 0)
        return result;
    if (const int written = WriteU32(stream, static_cast<uint32_t>(m_playLists.size())))
        return written;
    for (const auto& playList : m_playLists) {
        if (const int written = playList->Serialize(stream))
            return written;
    }
    for (const uint32_t word : {m_layout.type, m_layout.genre, m_layout.album}) {
        if (const int written = WriteU32(stream, word))
            return written;
    }
    return m_folderPattern.Serialize(stream);
}

// The counts come from the stream: records are read one by one, so a false count ends in a short read.
bool ITunes::LoadSongs(AFile& stream, int& result) {
    uint32_t count = 0;
    if ((result = recordio::ReadU32(stream, count)) != 0)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto song = std::make_unique<ITunesSong>();
        if ((result = song->Load(stream)) != 0)
            return false;
        auto binding = std::make_unique<ITunesTrackBinding>();
        binding->owner = this;
        binding->kind = m_sideKind;
        song->AddTrack(std::move(binding));
        m_songs.Add(std::move(song));
    }
    return true;
}

bool ITunes::LoadPlayListRecords(AFile& stream, int& result) {
    uint32_t count = 0;
    if ((result = recordio::ReadU32(stream, count)) != 0)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        auto playList = std::make_unique<ITunesPlayList>(&m_songs);
        if ((result = playList->Load(stream)) != 0)
            return false;
        for (uint32_t s = 0; s < playList->GetSavedIDCount(); ++s) {
            if (ITunesSong* song = FindSong(playList->GetSavedID(static_cast<int>(s))))
                playList->AppendBound(song, ITunesTrackBinding());
        }
        m_playLists.push_back(std::move(playList));
    }
    return true;
}

int ITunes::Load(AFile& stream) {
    ClearSongIndex();
    Disconnect();
    int result = recordio::ReadVersion(stream, kVersion);
    if (result == 0)
        result = m_libraryName.Load(stream);
    if (result == 0 && LoadSongs(stream, result) && LoadPlayListRecords(stream, result)) {
        for (uint32_t* word : {&m_layout.type, &m_layout.genre, &m_layout.album}) {
            if (result == 0)
                result = recordio::ReadU32(stream, *word);
        }
        if (result == 0)
            result = m_folderPattern.Load(stream);
    }
    if (result != 0)
        ClearSongIndex();
    return result;
}
