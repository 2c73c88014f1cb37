#include "library/songlists/ADirTunes.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/FileNameRule.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/itunes/MusicFolder.h"
#include "library/itunes/ReadTunesPrefs.h"
#include "library/songlists/AddFileSongInfo.h"
#include "platform/files/PathSeparator.h"

namespace {

constexpr uint32_t kNoClient = 0;
constexpr uint32_t kWithClient = 1;

// The folder that holds the music folder: removed songs go beside it.
AString ParentOfFolder(const AString& folder) {
    AString path = folder;
    while (path.GetLength() > 1 && path.GetAt(path.GetLength() - 1) == kPathSeparator)
        path.Truncate(path.GetLength() - 1);
    const int separator = path.ReverseFind(kPathSeparator);
    return separator <= 0 ? AString() : path.Left(separator);
}

// The music folder joined with what follows the folder named `marker` in a remote path ("/" or "\"
// around it), in native form; false when the path holds no such folder.
bool PathAfterFolder(const AString& musicFolder, const AString& source, const char* marker,
                     AString& candidate) {
    for (const char16_t separator : {u'/', u'\\'}) {
        AString level;
        level += separator;
        level += marker;
        level += separator;
        const int found = source.Find(level, 0, true);
        if (found < 0)
            continue;
        AString rest = source.Mid(found + level.GetLength());
        rest.Replace(u'\\', kPathSeparator);
        rest.Replace(u'/', kPathSeparator);
        candidate = musicFolder;
        candidate.AppendPath(rest);
        return true;
    }
    return false;
}

// A song of another computer that already lies in this music folder (the same file by size and time).
bool FindPlacedCopy(const AString& musicFolder, const AString& source, AString& target) {
    AString candidate;
    bool found = PathAfterFolder(musicFolder, source, "iTunes Music", candidate) && FileExists(candidate);
    if (!found)
        found = PathAfterFolder(musicFolder, source, "iTunes", candidate) && FileExists(candidate);
    if (!found || !FilesMatch(source, candidate))
        return false;
    target = candidate;
    return true;
}

// Runs `use` on the list's client, or on one connected for the call when the list has none.
template <class Use> int WithClient(ITunes* client, const Use& use) {
    if (client)
        return use(*client);
    ITunes temporary;
    if (const int result = temporary.Connect())
        return result;
    return use(temporary);
}

} // namespace

ADirTunes::ADirTunes(AProgress* progress) : ADirSong(progress) {
    m_removedFilesFolder = ParentOfFolder(ReadMusicFolder());
    AString account;
    if (ReadTunesPrefs(account) == 0)
        m_allowedAppleIDs = AString(":") + account + ":";
    m_rootPath = kRootMarker;
}

ADirTunes::~ADirTunes() = default;

void ADirTunes::DropClient() {
    m_keptPlayList = nullptr;
    m_secondPlayList = nullptr;
    m_client.reset();
}

void ADirTunes::Clear() {
    DropClient();
}

int ADirTunes::Open(const AString* path, uint32_t, const CancelCallback& callback) {
    if (path)
        SetRootPath(*path);
    Clear();
    return ReadDirectory(callback, 0);
}

bool ADirTunes::IsLimitedToPlayList() const {
    return !m_playListName.IsEmpty() && m_playListName != GetLibraryPlayListName();
}

// A name that no playlist has is an error: an empty list, or the whole library, would make a sync
// delete or copy songs that the user never chose.
int ADirTunes::ReadDirectory(const CancelCallback& callback, uint32_t keepClient) {
    // The playlist records are made anew: none kept from before may be pointed to.
    m_keptPlayList = nullptr;
    m_secondPlayList = nullptr;
    if (!keepClient || !m_client) {
        DropClient();
        m_client = std::make_unique<ITunes>();
    }
    m_client->SetFolderLayout(m_layout);
    if (const int result = m_client->Connect())
        return result;
    const bool limited = IsLimitedToPlayList();
    if (const int result =
            m_client->Reload(limited, limited ? m_playListName : AString(), &m_filters, callback, m_progress))
        return result;
    m_musicFolder = ReadMusicFolder();
    FindPlayList();
    int version = 0;
    if (m_client->GetVersionNumber(version) == 0)
        m_iTunesVersion = static_cast<uint32_t>(version);
    return 0;
}

void ADirTunes::FindPlayList() {
    m_keptPlayList = nullptr;
    if (m_playListName.IsEmpty() || !m_client)
        return;
    for (int i = 0; i < m_client->GetPlayListCount(); ++i) {
        ITunesPlayList* playList = m_client->GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if (name == m_playListName) {
            m_keptPlayList = playList;
            m_keptPlayList->SetFolderLayout(m_layout);
            return;
        }
    }
}

int ADirTunes::GetCount() const {
    if (m_keptPlayList)
        return m_keptPlayList->GetEntryCount();
    return m_client ? m_client->GetSongCount() : 0;
}

void ADirTunes::Sort(uint32_t ascending) {
    if (m_keptPlayList)
        m_keptPlayList->SortSongs(ascending);
    if (m_client)
        m_client->SortEntries(ascending != 0);
}

const AString* ADirTunes::GetEntry(int index) {
    if (!m_client || !IsValidIndex(index, GetCount()))
        return nullptr;
    ITunesSong* song = m_keptPlayList ? m_keptPlayList->GetEntry(index) : m_client->GetSongAt(index);
    m_entryBuffer = song ? song->BuildEntry(m_layout, true) : AString();
    return &m_entryBuffer;
}

ITunesSong* ADirTunes::SongOfID(const AString& entry) const {
    return m_client ? m_client->FindSong(ITunes::DatabaseIDOfEntry(entry)) : nullptr;
}

ITunesSong* ADirTunes::FindEntrySong(const AString& entry, bool byID) const {
    if (!m_client)
        return nullptr;
    if (byID)
        return SongOfID(entry);
    const bool underRoot = !m_rootPath.IsEmpty() && entry.Left(m_rootPath.GetLength()) == m_rootPath;
    return m_client->FindSongByEntry(underRoot ? entry.Mid(m_rootPath.GetLength()) : entry);
}

bool ADirTunes::InKeptPlayList(const ITunesSong& song, bool byPlayListID) const {
    for (int i = 0; i < song.GetTrackCount(); ++i) {
        const ITunesTrackBinding& binding = *song.GetTrack(i);
        if (binding.owner == m_keptPlayList || (byPlayListID && binding.playListID == m_keptPlayList->GetID()))
            return true;
    }
    return false;
}

int ADirTunes::GetFullPath(const AString& entry, AString& out, uint32_t byID) {
    const ITunesSong* song = FindEntrySong(entry, byID != 0);
    if (!song || (m_keptPlayList && !InKeptPlayList(*song, false)))
        return kErrorEndOfStream;
    out = song->GetPath();
    return out.IsEmpty() ? kErrorEndOfStream : 0;
}

uint64_t ADirTunes::GetFileDate(const AString& entry) {
    AString path;
    return GetFullPath(entry, path, 0) == 0 ? GetFileModTime(path) : 0;
}

uint32_t ADirTunes::FileExists(const AString& entry) {
    AString path;
    return GetFullPath(entry, path, 0) == 0 && ::FileExists(path) ? 1 : 0;
}

int ADirTunes::AddFile(const AString& entry, AddFileSongInfo& info) {
    ITunesSong* song = FindEntrySong(entry, false);
    if (!song || (m_keptPlayList && !InKeptPlayList(*song, false)))
        return kErrorEndOfStream;
    song->GetBitRate(info.bitRate, 0);
    song->GetDuration(info.duration, 0);
    return 0;
}

int ADirTunes::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
    if (!m_client || !IsValidIndex(index, GetCount()))
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
        m_client->RemoveEntry(index);
    return result;
}

int ADirTunes::DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) {
    ITunesSong* song = FindEntrySong(entry, byID != 0);
    if (!song)
        return kErrorEndOfStream;
    if (m_keptPlayList) {
        if (!InKeptPlayList(*song, byID != 0))
            return kErrorEndOfStream;
        return m_keptPlayList->DeleteSong(song, 1, 1, byID ? m_client.get() : nullptr);
    }
    const AString path = song->GetPath();
    if (m_deleteFiles && ::FileExists(path)) {
        if (const int result = ADir::DeleteFile(path, byID, skip))
            return result;
    }
    return m_client->DeleteSong(static_cast<int32_t>(song->GetDatabaseID()), true);
}

int ADirTunes::ResetAddState() {
    ClearAdded();
    return 0;
}

AString& ADirTunes::GetDescription(AString& out, uint32_t noPrefix) {
    out = noPrefix ? m_playListName : AString("iTunes:") + m_playListName;
    return out;
}

void ADirTunes::GetMusicFolder(AString& out) {
    out = ReadMusicFolder();
}

int ADirTunes::IsPlayListReadOnly() {
    if (m_playListName.IsEmpty())
        return 0;
    ITunes client;
    if (client.LoadPlayLists(false) != 0)
        return 0;
    for (int i = 0; i < client.GetPlayListCount(); ++i) {
        ITunesPlayList* playList = client.GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if (name.CompareNoCase(m_playListName) == 0)
            return ITunesPlayList::AccessOf(playList->GetKind()) == ITunesPlayList::kReadWrite ? 0 : 1;
    }
    return 0;
}

int ADirTunes::GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) {
    ITunes client;
    if (const int result = client.LoadPlayLists(false))
        return result;
    const AString library = GetLibraryPlayListName();
    for (int i = 0; i < client.GetPlayListCount(); ++i) {
        ITunesPlayList* playList = client.GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if ((userOnly && playList->GetKind() != ITunesPlayList::kUser) || (!withLibrary && name == library))
            continue;
        names.push_back(name);
    }
    return 0;
}

int ADirTunes::SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) {
    ITunesSong* song = SongOfID(entry);
    return song ? song->SaveArtwork(index, data) : kErrorEndOfStream;
}

int ADirTunes::GetArtworkCount(const AString& entry, int& count) {
    ITunesSong* song = SongOfID(entry);
    return song ? song->GetArtworkCount(count) : kErrorEndOfStream;
}

int ADirTunes::GetBitRate(const AString& entry) {
    uint32_t bitRate = 0;
    if (ITunesSong* song = SongOfID(entry))
        song->GetBitRate(bitRate, 0);
    return static_cast<int>(bitRate);
}

int ADirTunes::GetDuration(const AString& entry) {
    uint32_t duration = 0;
    if (ITunesSong* song = SongOfID(entry))
        song->GetDuration(duration, 0);
    return static_cast<int>(duration);
}

int ADirTunes::CreatePlayList(const AString& name) {
    return WithClient(m_client.get(), [&](ITunes& client) { return client.CreatePlayList(name); });
}

int ADirTunes::CreateSyncPlayList(const AString& name) {
    return ADirTunes::CreatePlayList(name);
}

int ADirTunes::DeletePlayList(const AString& name) {
    return WithClient(m_client.get(), [&](ITunes& client) { return client.DeletePlayListByName(name); });
}

void ADirTunes::CopyTunesSettings(const ADirTunes& other) {
    CopySettings(other);
    m_entryBuffer = other.m_entryBuffer;
    m_playListName = other.m_playListName;
    m_musicFolder = other.m_musicFolder;
    m_deleteFiles = other.m_deleteFiles;
}

AString ADirTunes::GetSongKey(const AString& entry) {
    ITunesSong* song = SongOfID(entry);
    if (!song)
        return AString();
    song->SetComment(SanitizedFileName(song->GetComment(), u'_', false));
    ITunesPlayData data;
    data.playedCount = static_cast<int>(song->GetPlayedCount());
    data.playedTime = song->GetPlayedDate();
    data.rating = static_cast<int>(song->GetRating());
    data.comment = song->GetComment();
    data.equalizer = song->GetEqualizer();
    return data.ToKey();
}

int ADirTunes::UpdateSongInfo(const AString& entry, const AString& key, const ITunesPlayDataFields& fields) {
    if (!m_client)
        return kErrorNotConnected;
    return m_client->UpdateSongInfo(ITunes::DatabaseIDOfEntry(entry), key, fields);
}

int ADirTunes::AddToSecondPlayList(ITunesSong* song) {
    if (!m_secondPlayList || m_secondPlayList->AddSongToPlayList(song) == 0)
        return 0;
    AString line = AString("Error: ") + AString::FromInt(kErrorLastSyncPlayList);
    GetErrorText(line, kErrorLastSyncPlayList);
    m_progress->SetPos(-1.0, nullptr, nullptr, &line, m_logTime != 0);
    return kErrorLastSyncPlayList;
}

// A file the library holds already gives its song, which goes into the playlists like a new one.
int ADirTunes::AddTrack(const AString& path, const AString* key, ITunesSong*& song) {
    song = nullptr;
    if (!m_client)
        return kErrorNotConnected;
    const int added = m_client->AddFile(path, key, song);
    if (added != 0 && (added != kErrorDuplicate || !song))
        return added;
    if (m_keptPlayList) {
        if (const int result = m_keptPlayList->AddSongToPlayList(song))
            return result;
    }
    ClearAdded();
    return AddToSecondPlayList(song);
}

int ADirTunes::AddTrackFile(const AString& path, const AString* key) {
    ITunesSong* song = nullptr;
    return AddTrack(path, key, song);
}

int ADirTunes::PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target,
                                  uint32_t& copied, const CancelCallback& callback) {
    return GetMusicFolderPath(musicFolder, file, target, AString(), copied, callback);
}

int ADirTunes::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback&) {
    ITunesSong* song = nullptr;
    const int result = AddTrack(file, nullptr, song);
    keptFile = song ? song->GetPath() : AString();
    return result;
}

int ADirTunes::AddSong(const AString& file, const CancelCallback& callback) {
    if (!m_client)
        return kErrorNotConnected;
    AString musicFolder;
    GetMusicFolder(musicFolder);
    AString target;
    uint32_t copied = 0;
    if (const int result = GetMusicFolderPath(musicFolder, file, target, AString(), copied, callback))
        return result;
    ITunesSong* song = nullptr;
    const int added = m_client->AddFile(target, nullptr, song);
    if (added != 0 && added != kErrorDuplicate)
        return added;
    if (!m_keptPlayList || !song)
        return added;
    return m_keptPlayList->AddSongToPlayList(song);
}

int ADirTunes::GetMusicFolderPath(const AString& musicFolder, const AString& source, AString& target,
                                  const AString& presetName, uint32_t& copied, const CancelCallback& callback) {
    copied = 0;
    if (IsRemotePath(source) && FindPlacedCopy(musicFolder, source, target))
        return 0;
    AString folder = musicFolder;
    AString name = presetName;
    if (const int result = MakeTargetName(source, folder, name, m_iTunesVersion))
        return result;
    if (!DirectoryExists(folder)) {
        if (const int result = CreateDirectoryPath(folder))
            return result;
    }
    target = folder;
    target.AppendPath(name);
    if (PathExists(target))
        return 0;
    const int result = CopyWithProgress(source, target, callback, m_progress, m_copyMode != 0);
    copied = result == 0 ? 1 : 0;
    return result;
}

int ADirTunes::Save(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = WriteU32(stream, kTunesRecordWord))
        return result;
    if (const int result = ADirSong::Save(stream, flag))
        return result;
    if (const int result = m_entryBuffer.Serialize(stream))
        return result;
    if (const int result = m_playListName.Serialize(stream))
        return result;
    if (const int result = WriteU32(stream, m_client ? kWithClient : kNoClient))
        return result;
    return m_client ? m_client->Serialize(stream) : 0;
}

int ADirTunes::Load(AFile& stream, uint32_t flag) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kTunesRecordWord))
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
    if (present != kNoClient && present != kWithClient)
        return kErrorVersion;
    DropClient();
    if (present == kNoClient)
        return 0;
    m_client = std::make_unique<ITunes>();
    if (const int result = m_client->Load(stream))
        return result;
    FindPlayList();
    return 0;
}
