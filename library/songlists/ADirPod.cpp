#include "library/songlists/ADirPod.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/ipod/IPod.h"
#include "library/ipod/PodVolumes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/itunes/ProgressRange.h"
#include "library/itunes/ReadTunesPrefs.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/songlists/PodRemovedFiles.h"

namespace {

constexpr uint32_t kNoPod = 0;
constexpr uint32_t kWithPod = 1;
constexpr double kHalf = 0.5;

bool IsUnknownID(const AString& id) {
    return id.IsEmpty() || id.CompareNoCase(IPod::kUnknownID) == 0;
}

} // namespace

ADirPod::ADirPod(AProgress* progress) : ADirSong(progress), m_podId(IPod::kUnknownID) {
    m_filters.types.keep = kSongTypes;
    AString account;
    if (ReadTunesPrefs(account) == 0)
        m_allowedAppleIDs = AString(":") + account + ":";
    m_rootPath = kRootMarker;
}

ADirPod::~ADirPod() = default;

AString ADirPod::RootOf(const AString& podName) {
    return AString(kRootMarker) + podName + "*";
}

// --- Finding the iPod ---

AString ADirPod::PodNameOfRoot() const {
    const AString marker(kRootMarker);
    if (m_rootPath.Left(marker.GetLength()) != marker || m_rootPath.GetLength() <= marker.GetLength())
        return AString();
    return m_rootPath.Mid(marker.GetLength(), m_rootPath.GetLength() - marker.GetLength() - 1);
}

AString ADirPod::GetPodNameFromRoot() const {
    const AString marker(kRootMarker);
    if (m_rootPath.Left(marker.GetLength()) != marker)
        return AString();
    const AString rest = m_rootPath.Mid(marker.GetLength());
    const int end = rest.Find(u'*');
    return end < 0 ? rest : rest.Left(end);
}

int ADirPod::NewPod(std::unique_ptr<IPod>& pod) const {
    pod = std::make_unique<IPod>();
    pod->SetFolderLayout(m_layout);
    return pod->Connect();
}

int ADirPod::SelectNamedPod(IPod& pod) const {
    const AString name = PodNameOfRoot();
    int count = 0;
    if (const int result = pod.GetPodCount(count))
        return result;
    for (int i = 0; i < count; ++i) {
        AString sourceName;
        if (const int result = pod.GetPodSourceName(sourceName, i))
            return result;
        if (sourceName == name)
            return pod.SelectPod(i);
    }
    return 0;
}

int ADirPod::FindPodVolume(const CancelCallback& callback) {
    PodVolume volume;
    if (!FindIPodVolume(PodNameOfRoot(), volume))
        return 0;
    m_pod->SetDrive(volume.root);
    if (const int result = m_pod->ReadPodDB(callback, m_logTime ? m_progress : nullptr))
        return result;
    if (const int result = m_pod->GetPodID(volume.root))
        return result;
    m_podId = m_pod->GetIdentifier();
    return 0;
}

void ADirPod::FixRemovedFilesFolder() {
    m_removedFilesFolder = PodRemovedFilesFolder(m_removedFilesFolder, m_pod ? m_pod->GetDrive() : AString());
}

void ADirPod::DropPod() {
    m_keptPlayList = nullptr;
    m_secondPlayList = nullptr;
    m_pod.reset();
}

void ADirPod::SetRootPath(const AString& path) {
    m_rootPath = path;
    DropPod();
    // Nothing is read here: what cannot be reached now is reached, or reported, by ReadDirectory.
    NewPod(m_pod);
    SelectNamedPod(*m_pod);
    PodVolume volume;
    if (FindIPodVolume(PodNameOfRoot(), volume)) {
        m_pod->SetDrive(volume.root);
        if (m_pod->GetPodID(volume.root) == 0)
            m_podId = m_pod->GetIdentifier();
    }
    FixRemovedFilesFolder();
}

int ADirPod::Open(const AString* path, uint32_t, const CancelCallback& callback) {
    if (path)
        m_rootPath = *path;
    Clear();
    return ReadDirectory(callback, 0);
}

// A playlist name that the iPod does not have is an error: an empty list would make a sync delete the
// songs on the other side.
int ADirPod::ReadDirectory(const CancelCallback& callback, uint32_t) {
    DropPod();
    if (const int result = NewPod(m_pod))
        return result;
    if (const int result = SelectNamedPod(*m_pod))
        return result;
    {
        ProgressRange database(m_progress, kHalf, nullptr);
        if (const int result = FindPodVolume(callback))
            return result;
    }
    ProgressRange songs(m_progress, kHalf, nullptr);
    const bool limited = !m_playListName.IsEmpty();
    if (const int result = m_pod->Reload(limited, m_playListName, &m_filters, callback, m_progress))
        return result;
    songs.Close(nullptr);
    FixRemovedFilesFolder();
    FindPlayList();
    return 0;
}

void ADirPod::Clear() {
    if (m_pod && !IsUnknownID(m_pod->GetIdentifier()))
        m_podId = m_pod->GetIdentifier();
    DropPod();
    m_pod = std::make_unique<IPod>();
    m_pod->SetIdentifier(m_podId);
}

AString ADirPod::GetPodID() {
    if (!m_pod || !IsUnknownID(m_podId))
        return m_podId;
    if (m_pod->GetIdentifier() == IPod::kUnknownID)
        m_pod->GetPodID(m_pod->GetDrive());
    return m_pod->GetIdentifier();
}

void ADirPod::SetPodID(const AString& id) {
    m_podId = id;
    if (m_pod)
        m_pod->SetIdentifier(id);
}

void ADirPod::FindPlayList() {
    m_keptPlayList = nullptr;
    if (m_playListName.IsEmpty() || !m_pod)
        return;
    for (int i = 0; i < m_pod->GetPlayListCount(); ++i) {
        ITunesPlayList* playList = m_pod->GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if (name == m_playListName) {
            m_keptPlayList = playList;
            m_keptPlayList->SetFolderLayout(m_layout);
            return;
        }
    }
}

// --- The entries ---

int ADirPod::GetCount() const {
    if (m_keptPlayList)
        return m_keptPlayList->GetEntryCount();
    return m_pod ? m_pod->GetSongCount() : 0;
}

void ADirPod::Sort(uint32_t ascending) {
    if (m_keptPlayList)
        m_keptPlayList->SortSongs(ascending);
    if (m_pod)
        m_pod->SortEntries(ascending != 0);
}

const AString* ADirPod::GetEntry(int index) {
    if (!m_pod || !IsValidIndex(index, GetCount()))
        return nullptr;
    ITunesSong* song = m_keptPlayList ? m_keptPlayList->GetEntry(index) : m_pod->GetSongAt(index);
    m_entryBuffer = song ? song->BuildEntry(m_layout, true) : AString();
    return &m_entryBuffer;
}

ITunesSong* ADirPod::SongOfID(const AString& entry) const {
    return m_pod ? m_pod->FindSong(ITunes::DatabaseIDOfEntry(entry)) : nullptr;
}

ITunesSong* ADirPod::FindEntrySong(const AString& entry, bool byID) const {
    if (!m_pod)
        return nullptr;
    if (byID)
        return SongOfID(entry);
    const bool underRoot = entry.Left(m_rootPath.GetLength()) == m_rootPath;
    return m_pod->FindSongByEntry(underRoot ? entry.Mid(m_rootPath.GetLength()) : entry);
}

// Only a binding of the kept playlist itself counts: another playlist of the same id is another iPod's.
bool ADirPod::InKeptPlayList(const ITunesSong& song) const {
    for (int i = 0; i < song.GetTrackCount(); ++i) {
        if (song.GetTrack(i)->owner == m_keptPlayList)
            return true;
    }
    return false;
}

int ADirPod::GetFullPath(const AString& entry, AString& out, uint32_t byID) {
    const ITunesSong* song = FindEntrySong(entry, byID != 0);
    if (!song || (m_keptPlayList && !InKeptPlayList(*song)))
        return kErrorEndOfStream;
    out = song->GetPath();
    return out.IsEmpty() ? kErrorEndOfStream : 0;
}

uint64_t ADirPod::GetFileDate(const AString& entry) {
    AString path;
    return GetFullPath(entry, path, 0) == 0 ? GetFileModTime(path) : 0;
}

uint32_t ADirPod::FileExists(const AString& entry) {
    const ITunesSong* song = FindEntrySong(entry, false);
    return song && (!m_keptPlayList || InKeptPlayList(*song)) ? 1 : 0;
}

int ADirPod::AddFile(const AString& entry, AddFileSongInfo& info) {
    ITunesSong* song = FindEntrySong(entry, false);
    if (!song || (m_keptPlayList && !InKeptPlayList(*song)))
        return kErrorEndOfStream;
    song->GetBitRate(info.bitRate, 0);
    song->GetDuration(info.duration, 0);
    return 0;
}

int ADirPod::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
    if (!m_pod || !IsValidIndex(index, GetCount()))
        return kErrorInvalidElement;
    int result = 0;
    if (deleteFile) {
        AString path = m_rootPath;
        path.AppendPath(*GetEntry(index));
        result = DeleteFile(path, 1, skip);
    }
    if (m_keptPlayList)
        m_keptPlayList->RemoveEntry(index);
    else
        m_pod->RemoveEntry(index);
    return result;
}

int ADirPod::DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) {
    ITunesSong* song = FindEntrySong(entry, byID != 0);
    if (!song)
        return kErrorEndOfStream;
    if (m_keptPlayList) {
        if (!InKeptPlayList(*song))
            return kErrorEndOfStream;
        return m_keptPlayList->DeleteSong(song, 1, 1, nullptr);
    }
    const AString path = song->GetPath();
    if (!path.IsEmpty() && ::FileExists(path)) {
        if (const int result = ADir::DeleteFile(path, byID, skip))
            return result;
    }
    return m_pod->DeleteSong(static_cast<int32_t>(song->GetDatabaseID()), true);
}

int ADirPod::ResetAddState() {
    ClearAdded();
    return 0;
}

// --- Describing the iPod ---

AString& ADirPod::GetDescription(AString& out, uint32_t noPrefix) {
    AString name;
    if (m_pod)
        m_pod->GetName(name, false);
    out = noPrefix ? AString() : AString("iPod: ") + name + " ";
    out += m_playListName.IsEmpty() ? AString("Main Library") : AString("Playlist: ") + m_playListName;
    return out;
}

void ADirPod::GetMusicFolder(AString& out) {
    PodVolume volume;
    out = FindIPodVolume(PodNameOfRoot(), volume) ? volume.root : AString();
}

int ADirPod::WithPod(const std::function<int(IPod&)>& use) {
    if (m_pod && m_pod->IsPodSelected())
        return use(*m_pod);
    std::unique_ptr<IPod> pod;
    if (const int result = NewPod(pod))
        return result;
    if (const int result = SelectNamedPod(*pod))
        return result;
    return use(*pod);
}

// A client of its own: the list's playlists stay as the list read them.
int ADirPod::GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t) {
    std::unique_ptr<IPod> pod;
    if (const int result = NewPod(pod))
        return result;
    if (const int result = SelectNamedPod(*pod))
        return result;
    if (const int result = pod->LoadPlayLists())
        return result;
    const AString library = GetLibraryPlayListName();
    for (int i = 0; i < pod->GetPlayListCount(); ++i) {
        AString name;
        pod->GetPlayList(i)->GetName(name, 0);
        if (withLibrary || name != library)
            names.push_back(name);
    }
    return 0;
}

int ADirPod::IsPlayListReadOnly() {
    if (m_playListName.IsEmpty())
        return 0;
    std::unique_ptr<IPod> pod;
    if (NewPod(pod) != 0 || SelectNamedPod(*pod) != 0 || pod->LoadPlayLists() != 0)
        return 0;
    for (int i = 0; i < pod->GetPlayListCount(); ++i) {
        ITunesPlayList* playList = pod->GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if (name.CompareNoCase(m_playListName) == 0)
            return ITunesPlayList::AccessOf(playList->GetKind()) == ITunesPlayList::kReadWrite ? 0 : 1;
    }
    return 0;
}

int ADirPod::CreatePlayList(const AString& name) {
    return WithPod([&](IPod& pod) { return pod.CreatePlayList(name); });
}

int ADirPod::DeletePlayList(const AString& name) {
    return WithPod([&](IPod& pod) { return pod.DeletePlayListByName(name); });
}

// --- Song information ---

int ADirPod::SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) {
    ITunesSong* song = SongOfID(entry);
    return song ? song->SaveArtwork(index, data) : kErrorEndOfStream;
}

int ADirPod::GetArtworkCount(const AString& entry, int& count) {
    ITunesSong* song = SongOfID(entry);
    return song ? song->GetArtworkCount(count) : kErrorEndOfStream;
}

int ADirPod::GetBitRate(const AString& entry) {
    uint32_t bitRate = 0;
    if (ITunesSong* song = SongOfID(entry))
        song->GetBitRate(bitRate, 0);
    return static_cast<int>(bitRate);
}

int ADirPod::GetDuration(const AString& entry) {
    uint32_t duration = 0;
    if (ITunesSong* song = SongOfID(entry))
        song->GetDuration(duration, 0);
    return static_cast<int>(duration);
}

// --- Adding songs ---

int ADirPod::AddSong(const AString& file, const CancelCallback&) {
    if (!m_pod)
        return kErrorNotConnected;
    ITunesSong* song = nullptr;
    const int added = m_pod->AddFile(file, nullptr, song);
    if (added != 0 || !m_keptPlayList)
        return added;
    return m_keptPlayList->AddSongToPlayList(song);
}

int ADirPod::AddToSecondPlayList(ITunesSong* song) {
    if (!m_secondPlayList || m_secondPlayList->AddSongToPlayList(song) == 0)
        return 0;
    AString line = AString("Error: ") + AString::FromInt(kErrorLastSyncPlayList);
    GetErrorText(line, kErrorLastSyncPlayList);
    m_progress->SetPos(-1.0, nullptr, nullptr, &line, m_logTime != 0);
    return kErrorLastSyncPlayList;
}

int ADirPod::AddTrack(const AString& path, const AString* key, ITunesSong*& song) {
    song = nullptr;
    if (!m_pod)
        return kErrorNotConnected;
    if (const int result = m_pod->AddFile(path, key, song))
        return result;
    if (m_keptPlayList) {
        if (const int result = m_keptPlayList->AddSongToPlayList(song))
            return result;
    }
    ClearAdded();
    return AddToSecondPlayList(song);
}

int ADirPod::AddTrackFile(const AString& path, const AString* key) {
    ITunesSong* song = nullptr;
    return AddTrack(path, key, song);
}

int ADirPod::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback&) {
    ITunesSong* song = nullptr;
    const int result = AddTrack(file, nullptr, song);
    keptFile = song ? song->GetPath() : AString();
    return result;
}

// --- Settings and the saved form ---

void ADirPod::CopySettings(const ADir& other) {
    if (const auto* pod = dynamic_cast<const ADirPod*>(&other)) {
        ADirSong::CopySettings(other);
        SetPodID(pod->m_podId);
        m_entryBuffer = pod->m_entryBuffer;
        m_playListName = pod->m_playListName;
        return;
    }
    if (const auto* database = dynamic_cast<const ADirPodDB*>(&other)) {
        ADirSong::CopySettings(other);
        SetPodID(database->GetStoredPodID());
    }
}

int ADirPod::Save(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = WriteU32(stream, kPodRecordWord))
        return result;
    if (const int result = ADirSong::Save(stream, flag))
        return result;
    if (const int result = m_entryBuffer.Serialize(stream))
        return result;
    if (const int result = m_playListName.Serialize(stream))
        return result;
    if (const int result = WriteU32(stream, m_pod ? kWithPod : kNoPod))
        return result;
    if (m_pod) {
        if (const int result = m_pod->Serialize(stream))
            return result;
    }
    return m_podId.Serialize(stream);
}

int ADirPod::Load(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kPodRecordWord))
        return result;
    m_keptPlayList = nullptr;
    if (const int result = ADirSong::Load(stream, flag))
        return result;
    if (const int result = m_entryBuffer.Load(stream))
        return result;
    if (const int result = m_playListName.Load(stream))
        return result;
    uint32_t present = 0;
    if (const int result = ReadU32(stream, present))
        return result;
    if (present != kNoPod && present != kWithPod)
        return kErrorVersion;
    if (present == kWithPod) {
        DropPod();
        m_pod = std::make_unique<IPod>();
        if (const int result = m_pod->Load(stream))
            return result;
        FindPlayList();
    }
    return m_podId.Load(stream);
}
