#include "library/ipod/ITunesDB.h"

#include "foundation/ACrc32.h"
#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/entries/EntryKeySort.h"
#include "library/entries/EntryText.h"
#include "library/entries/FileNameRule.h"
#include "library/entries/SongFilters.h"
#include "library/ipod/ITunesDBReadContext.h"
#include "library/ipod/ITunesSD.h"
#include "library/ipod/PodFileReplacement.h"
#include "library/ipod/PodFileSystem.h"
#include "library/ipod/PodSongInfo.h"
#include "library/itunes/ITunesSong.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/PathSeparator.h"
#include "platform/volumes/VolumeTable.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <utility>

namespace {

constexpr const char* kUnknownPodID = "00000000";

// Room for a usual entry text and its sort key, so that the entry store of a long list is not copied
// as it grows; untouched room costs no memory.
constexpr size_t kExpectedEntryAndKeyLength = 128;

AString WithLeadingBackslash(const AString& entry) {
    if (!entry.IsEmpty() && entry.GetAt(0) == kEntryLevelSeparator)
        return entry;
    AString text("\\");
    text += entry;
    return text;
}

AString DatabaseFolderFile(const AString& drive, const char* name) {
    AString path(drive);
    path.AppendPath("iPod_Control");
    path.AppendPath("iTunes");
    path.AppendPath(name);
    return path;
}

// The first of base.0, base.1, ... that names nothing, so that no file of the user's is replaced.
AString FreeTemporaryName(const AString& base) {
    for (uint32_t n = 0;; ++n) {
        AString name = base + "." + AString::FromUInt(n);
        if (!nativefiles::GetStatus(name.ToSystem8Bit()).exists)
            return name;
    }
}

AString FolderOf(const AString& path) {
    return path.Left(path.ReverseFind(kPathSeparator) + 1);
}

std::span<const uint8_t> BytesOf(const AMemFile& stream) {
    return {stream.GetBuffer(), stream.GetSize()};
}

AString FormatPodID(uint32_t number) {
    static const char kDigits[] = "0123456789ABCDEF";
    AString text;
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kDigits[(number >> shift) & 0xF];
    return text;
}

} // namespace

ITunesDB::ITunesDB()
    : m_pattern(FolderPatternFor(m_layout)), m_root(std::make_unique<ITunesDBHeader>()),
      m_podId(kUnknownPodID) {}

ITunesDB::~ITunesDB() = default;

void ITunesDB::SetFolderLayout(const EntryLayout& layout) {
    m_layout = layout;
    m_pattern = FolderPatternFor(layout);
}

void ITunesDB::SetTempFolder(const AString& folder) {
    m_workFolder = folder.WithTrailingSeparator();
}

AString ITunesDB::DatabasePath(const AString& drive) {
    return DatabaseFolderFile(drive, "iTunesDB");
}

AString ITunesDB::ShuffleDatabasePath(const AString& drive) {
    return DatabaseFolderFile(drive, "iTunesSD");
}

int ITunesDB::ReadTree(AFile& stream, const ITunesDBReadContext& context) {
    ClearEntries();
    m_root = std::make_unique<ITunesDBHeader>();
    return m_root->Read(stream, context);
}

int ITunesDB::Read(const AString& path, bool isDrive) {
    // A names-only tree cannot be written back.
    m_libraryRead = 0;
    if (isDrive)
        m_drive = path;
    AFile file;
    if (const int result = file.Open(isDrive ? DatabasePath(path) : path, AFile::kModeRead, false))
        return result;
    ITunesDBReadContext context;
    context.namesMode = true;
    return ReadTree(file, context);
}

int ITunesDB::ReadLibrary(const AString* drive, bool withPlayLists, const CancelCallback& cancel,
                          AProgress* progress) {
    m_libraryRead = 0;
    if (drive)
        m_drive = *drive;
    ITunesDBReadContext context;
    context.withPlayLists = withPlayLists;
    context.cancel = cancel;
    context.progress = progress;
    const int result = ReadLibraryFile(DatabasePath(m_drive), context);
    if (result == 0)
        m_libraryRead = withPlayLists ? 1 : 0;
    return result;
}

int ITunesDB::ReadLibraryFile(const AString& path, const ITunesDBReadContext& context) {
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    return ReadTree(file, context);
}

int ITunesDB::GetSongCount() const {
    const ITunesDBTrackList* trackList = m_root->GetTrackList();
    return trackList ? trackList->GetCount() : 0;
}

int ITunesDB::GetEntryCount() const {
    return m_entriesBuilt ? static_cast<int>(m_entries.size()) : GetSongCount();
}

ITunesDBPlayListList* ITunesDB::GetPlayListListOf(int role) const {
    const ITunesDBDataSet* dataSet = m_root->GetDataSet(role);
    return dataSet ? dataSet->GetPlayListList() : nullptr;
}

int ITunesDB::GetPodName(AString& out) const {
    const ITunesDBPlayListList* list = GetPlayListListOf(2);
    const ITunesDBPlayList* master = list ? list->GetMaster() : nullptr;
    return master ? master->GetName(out) : kErrorInvalidElement;
}

int ITunesDB::GetPlayListCount() const {
    const ITunesDBPlayListList* list = GetPlayListListOf(2);
    return list ? std::max(0, list->GetCount() - 1) : 0;
}

ITunesDBPlayList* ITunesDB::GetPlayList(int i, int which) const {
    if (which != 2 && which != 3)
        return nullptr;
    const ITunesDBPlayListList* list = GetPlayListListOf(which);
    return list && i >= 0 ? list->GetPlayList(i + 1) : nullptr;
}

int ITunesDB::FindPathForSong(ITunesSong& song, AString& outPath) const {
    const ITunesDBTrackList* trackList = m_root->GetTrackList();
    if (!trackList)
        return 0;
    for (const auto& track : trackList->GetBucket(song.GetNameChecksum())) {
        if (track->MatchesSong(song)) {
            outPath = track->GetPath();
            return 1;
        }
    }
    return 0;
}

// The track keeps its path's extension: the type filter reads it without cutting it again.
bool ITunesDB::PassesFilters(const ITunesDBTrack& track, const SongFilters& filters) const {
    return filters.types.PassesWholeItem(track.GetExtension()) && filters.PassesName(track.GetPath()) &&
           filters.PassesGenre(track.GetGenre(), m_layout) && filters.PassesArtist(track.GetArtist()) &&
           filters.PassesAlbum(track.GetAlbum(), m_layout) && filters.PassesTitle(track.GetTitle());
}

// Sorting and searching share this order: the entry keys as every song list orders them, then the
// handles. So an entry is found whatever other entries begin like it, and the iPod's list walks in
// step with the list it is synced with.
int ITunesDB::CompareTexts(const SortedEntry& a, const SortedEntry& b) const {
    const int byText = CompareSortKeys(a.key, b.key);
    return m_entriesAscending ? byText : -byText;
}

int ITunesDB::CompareEntries(const SortedEntry& a, const SortedEntry& b) const {
    if (const int byText = CompareTexts(a, b))
        return byText;
    if (a.handle == b.handle)
        return 0;
    return (a.handle < b.handle) == m_entriesAscending ? -1 : 1;
}

// The texts and keys are kept end to end in one store: one allocation for the list instead of two
// for each entry, which building, sorting and freeing twenty thousand of them would feel.
void ITunesDB::SortEntries(bool ascending, const SongFilters* filters) {
    ClearEntries();
    m_entriesBuilt = true;
    m_entriesAscending = ascending;
    const ITunesDBTrackList* trackList = m_root->GetTrackList();
    if (!trackList)
        return;
    // Where each entry's text begins in the store, its length and its key's length.
    std::vector<std::array<size_t, 3>> places;
    m_entries.reserve(trackList->GetCount());
    places.reserve(trackList->GetCount());
    m_entryStore.reserve(trackList->GetCount() * kExpectedEntryAndKeyLength);
    trackList->ForEachTrack([&](ITunesDBTrack& track) {
        if (filters && !PassesFilters(track, *filters))
            return;
        const size_t start = m_entryStore.size();
        track.AppendEntry(m_entryStore, m_layout, m_drive, true);
        const size_t textLength = m_entryStore.size() - start;
        AppendTailSortKey(m_entryStore, start);
        places.push_back({start, textLength, m_entryStore.size() - start - textLength});
        m_entries.push_back({{}, track.GetHandle(), {}, &track});
    });
    const std::u16string_view stored(m_entryStore);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const auto [start, textLength, keyLength] = places[i];
        m_entries[i].text = stored.substr(start, textLength);
        m_entries[i].key = stored.substr(start + textLength, keyLength);
    }
    SortByEntryKeys(
        m_entries, [](const SortedEntry& entry) { return entry.key; },
        [](const SortedEntry& a, const SortedEntry& b) { return a.handle < b.handle; });
    // Handles break ties in the keys' direction, so the descending order is the ascending one reversed.
    if (!ascending)
        std::reverse(m_entries.begin(), m_entries.end());
}

AString ITunesDB::BuildEntry(ITunesDBTrack& track, bool withHandle) const {
    return track.BuildEntry(m_layout, m_drive, withHandle);
}

ITunesDBTrack* ITunesDB::GetEntry(int i) const {
    return i < 0 || i >= static_cast<int>(m_entries.size()) ? nullptr : m_entries[i].track;
}

std::u16string_view ITunesDB::GetEntryText(int i) const {
    return i < 0 || i >= static_cast<int>(m_entries.size()) ? std::u16string_view() : m_entries[i].text;
}

int ITunesDB::FindTrack(ITunesDBTrack** outTrack, const AString& entry, bool withHandle) const {
    *outTrack = nullptr;
    const ITunesDBTrackList* trackList = m_root->GetTrackList();
    if (!trackList)
        return 0;
    const AString text = WithLeadingBackslash(entry);
    const std::u16string key = EntrySortKey(EntryWithoutId(text));
    SortedEntry wanted{{}, 0, key, nullptr};
    int64_t handle = 0;
    if (withHandle) {
        if (!ParseEntryId(text, handle) || handle < 0)
            return 0;
        wanted.handle = static_cast<uint64_t>(handle);
    }
    // Without a handle the first entry of that text is the answer.
    const auto before = [this, withHandle](const SortedEntry& a, const SortedEntry& b) {
        return (withHandle ? CompareEntries(a, b) : CompareTexts(a, b)) < 0;
    };
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), wanted, before);
    if (found == m_entries.end() || CompareTexts(*found, wanted) != 0)
        return 0;
    if (withHandle && found->handle != wanted.handle)
        return 0;
    *outTrack = found->track;
    return *outTrack ? 1 : 0;
}

void ITunesDB::RemoveEntry(int i) {
    if (i >= 0 && i < static_cast<int>(m_entries.size()))
        m_entries.erase(m_entries.begin() + i);
}

void ITunesDB::ClearEntries() {
    m_entries.clear();
    m_entryStore.clear();
    m_entriesBuilt = false;
}

int ITunesDB::AddTrack(const PodSongInfo& description, ITunesDBTrack** outTrack, bool create) {
    if (outTrack)
        *outTrack = nullptr;
    const ITunesDBDataSet* first = m_root->GetDataSet(1);
    if (first && first->GetType() != ITunesDBDataSet::kTrackList)
        return kErrorNoTrackList;
    ITunesDBTrackList* trackList = first ? first->GetTrackList() : nullptr;
    if (!trackList)
        return kErrorInvalidElement;
    for (const auto& track : trackList->GetBucket(NameChecksum(description.displayName.Trimmed()))) {
        if (track->MatchesDescription(description))
            return kErrorDuplicate;
    }
    if (!create)
        return 0;
    auto track = std::make_unique<ITunesDBTrack>();
    track->SetFromDescription(description);
    track->SetUnixTime(ITunesDBTrack::kDateAddedOffset, std::time(nullptr));
    ITunesDBTrack* added = trackList->Add(std::move(track));
    for (ITunesDBPlayListList* list : m_root->GetPlayListLists()) {
        if (ITunesDBPlayList* master = list->GetMaster())
            master->AddItem(added);
    }
    if (outTrack)
        *outTrack = added;
    return 0;
}

void ITunesDB::RemoveTrack(const AString& entry) {
    ITunesDBTrackList* trackList = m_root->GetTrackList();
    int64_t handle = 0;
    if (!trackList || !ParseEntryId(entry, handle) || handle < 0)
        return;
    const ITunesDBTrack* track = trackList->FindByHandle(static_cast<uint64_t>(handle));
    if (!track)
        return;
    for (ITunesDBPlayListList* list : m_root->GetPlayListLists()) {
        for (int i = 0; i < list->GetCount(); ++i)
            list->GetPlayList(i)->RemoveItemsOf(track);
    }
    // The sorted list keeps its places: the track's entry stays, naming no track.
    for (SortedEntry& entry : m_entries) {
        if (entry.track == track)
            entry.track = nullptr;
    }
    trackList->Remove(track);
}

int ITunesDB::Serialize(AFile* stream) {
    if (const int result = recordio::WriteU32(*stream, kRecordVersion))
        return result;
    if (const int result = m_drive.Serialize(*stream))
        return result;
    if (const int result = m_workFolder.Serialize(*stream))
        return result;
    if (const int result = m_root->Write(*stream))
        return result;
    for (const uint32_t word : {m_layout.type, m_layout.genre, m_layout.album}) {
        if (const int result = recordio::WriteU32(*stream, word))
            return result;
    }
    if (const int result = m_pattern.Serialize(*stream))
        return result;
    return m_podId.Serialize(*stream);
}

int ITunesDB::Load(AFile* stream) {
    const int result = LoadRecord(*stream);
    // What a failed load leaves is not the iPod's database: a save would replace it with that.
    if (result != 0)
        m_libraryRead = 0;
    return result;
}

int ITunesDB::LoadRecord(AFile& stream) {
    ClearEntries();
    m_root = std::make_unique<ITunesDBHeader>();
    if (const int result = recordio::ReadVersion(stream, kRecordVersion))
        return result;
    if (const int result = m_drive.Load(stream))
        return result;
    if (const int result = m_workFolder.Load(stream))
        return result;
    ITunesDBReadContext context;
    context.withPlayLists = true;
    if (const int result = m_root->Read(stream, context))
        return result;
    for (uint32_t* word : {&m_layout.type, &m_layout.genre, &m_layout.album}) {
        if (const int result = recordio::ReadU32(stream, *word))
            return result;
    }
    if (const int result = m_pattern.Load(stream))
        return result;
    return m_podId.Load(stream);
}

int ITunesDB::Save(const AString* root) {
    return Save(root, PodFileSystem::Native());
}

// iTunesDB goes first: a save ended between the two replacements leaves a stale iTunesSD, which the
// next save rewrites, and never a database that names songs its iTunesSD does not.
int ITunesDB::Save(const AString* root, PodFileSystem& files) {
    if (!m_libraryRead)
        return kErrorNotReadForSave;
    const AString drive = root ? *root : m_drive;
    AMemFile tree;
    if (const int result = m_root->Write(tree))
        return result;
    AMemFile shuffle;
    if (const int result = WriteShuffleDB(&shuffle))
        return result;
    const std::string database = DatabasePath(drive).ToUtf8();
    const std::string shuffleTable = ShuffleDatabasePath(drive).ToUtf8();
    PodFileReplacement replacement(files);
    const PodFileReplacement::NewFile newFiles[] = {{database, tree.GetSize()},
                                                    {shuffleTable, shuffle.GetSize()}};
    if (const int result = replacement.Prepare(newFiles))
        return result;
    if (const int result = StageDatabase(replacement, files, database, BytesOf(tree)))
        return result;
    if (const int result = replacement.Stage(shuffleTable, BytesOf(shuffle)))
        return result;
    return replacement.Commit();
}

// A work folder elsewhere (on the computer's disk) takes the new database first; the iPod gets a copy
// of that file, checked against what was written.
int ITunesDB::StageDatabase(PodFileReplacement& replacement, PodFileSystem& files, const std::string& target,
                            std::span<const uint8_t> tree) const {
    if (m_workFolder.IsEmpty() || FolderOf(AString(target)).CompareNoCase(m_workFolder) == 0)
        return replacement.Stage(target, tree);
    const std::string temporary = FreeTemporaryName(m_workFolder + "temp").ToUtf8();
    nativefiles::FileDescriptor file = files.CreateNew(temporary);
    if (!file.IsOpen())
        return kErrorOpen;
    int result = files.WriteNewFile(std::move(file), tree) ? 0 : kErrorWrite;
    std::vector<uint8_t> copy;
    if (result == 0 && !files.ReadAll(temporary, copy))
        result = kErrorRead;
    if (result == 0 && !std::equal(copy.begin(), copy.end(), tree.begin(), tree.end()))
        result = kErrorUnableToVerify;
    if (result == 0)
        result = replacement.Stage(target, copy);
    files.Remove(temporary);
    return result;
}

int ITunesDB::WriteShuffleDB(AFile* stream) const {
    const ITunesDBDataSet* first = m_root->GetDataSet(1);
    const ITunesDBTrackList* trackList = first ? first->GetTrackList() : nullptr;
    const uint32_t count = trackList ? static_cast<uint32_t>(trackList->GetCount()) : 0;
    if (const int result = ITunesSD::WriteHeader(*stream, count))
        return result;
    if (!trackList)
        return 0;
    int result = 0;
    trackList->ForEachTrack([&](ITunesDBTrack& track) {
        if (result == 0)
            result = ITunesSD::WriteEntry(*stream, track.GetPath(), track.GetExtension());
    });
    return result;
}

int ITunesDB::GetPodID(const AString& volumeRoot) {
    m_podId = kUnknownPodID;
    nativevolumes::Volume volume;
    if (!nativevolumes::VolumeTable::Instance().Find(volumeRoot.ToSystem8Bit(), volume))
        return kErrorVolumeSerial;
    uint32_t serial = volume.serial;
    AString name;
    if (serial == 0 && GetPodName(name) == 0) {
        ACrc32 crc;
        crc.Update(name);
        serial = crc.GetValue();
    }
    m_podId = FormatPodID(serial);
    return 0;
}
