#include "library/songlists/ADirTunesSource.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/EntryText.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/AddFileSongInfo.h"

namespace {

constexpr uint32_t kNoClient = 0;
constexpr uint32_t kWithClient = 1;

} // namespace

ADirTunesSource::ADirTunesSource(AProgress* progress) : ADirSong(progress) {}

ADirTunesSource::~ADirTunesSource() = default;

int ADirTunesSource::ConnectClient(ITunes& client) const {
    const int result = client.Connect();
    if (result == kErrorLibraryUnreadable)
        m_progress->LogError(result, AString("Reading the library file "), ITunes::LibraryProblem());
    return result;
}

void ADirTunesSource::DropClient() {
    m_keptPlayList = nullptr;
    m_secondPlayList = nullptr;
    m_client.reset();
}

void ADirTunesSource::FindPlayList() {
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

// --- The entries ---

int ADirTunesSource::GetCount() const {
    if (m_keptPlayList)
        return m_keptPlayList->GetEntryCount();
    return m_client ? m_client->GetSongCount() : 0;
}

void ADirTunesSource::Sort(uint32_t ascending) {
    if (m_keptPlayList)
        m_keptPlayList->SortSongs(ascending);
    if (m_client)
        m_client->SortEntries(ascending != 0);
}

const AString* ADirTunesSource::GetEntry(int index) {
    if (!m_client || !IsValidIndex(index, GetCount()))
        return nullptr;
    ITunesSong* song = m_keptPlayList ? m_keptPlayList->GetEntry(index) : m_client->GetSongAt(index);
    m_entryBuffer = song ? song->BuildEntry(m_layout, true) : AString();
    return &m_entryBuffer;
}

ITunesSong* ADirTunesSource::SongOfID(const AString& entry) const {
    return m_client ? m_client->FindSong(ITunes::DatabaseIDOfEntry(entry)) : nullptr;
}

ITunesSong* ADirTunesSource::FindEntrySong(const AString& entry, bool byID) const {
    if (!m_client)
        return nullptr;
    if (byID)
        return SongOfID(entry);
    return m_client->FindSongByEntry(EntryBelowRoot(entry, m_rootPath));
}

bool ADirTunesSource::InKeptPlayList(const ITunesSong& song, bool byPlayListID) const {
    for (int i = 0; i < song.GetTrackCount(); ++i) {
        const ITunesTrackBinding& binding = *song.GetTrack(i);
        if (binding.owner == m_keptPlayList ||
            (byPlayListID && binding.playListID == m_keptPlayList->GetID()))
            return true;
    }
    return false;
}

int ADirTunesSource::GetFullPath(const AString& entry, AString& out, uint32_t byID) {
    const ITunesSong* song = FindEntrySong(entry, byID != 0);
    if (!song || (m_keptPlayList && !InKeptPlayList(*song, false)))
        return kErrorEndOfStream;
    out = song->GetPath();
    return out.IsEmpty() ? kErrorEndOfStream : 0;
}

uint64_t ADirTunesSource::GetFileDate(const AString& entry) {
    AString path;
    return GetFullPath(entry, path, 0) == 0 ? GetFileModTime(path) : 0;
}

int ADirTunesSource::AddFile(const AString& entry, AddFileSongInfo& info) {
    ITunesSong* song = FindEntrySong(entry, false);
    if (!song || (m_keptPlayList && !InKeptPlayList(*song, false)))
        return kErrorEndOfStream;
    song->GetBitRate(info.bitRate, 0);
    song->GetDuration(info.duration, 0);
    return 0;
}

int ADirTunesSource::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
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

int ADirTunesSource::DeleteEntrySong(const AString& entry, uint32_t byID, uint32_t skip, bool deleteFile,
                                     bool byPlayListID) {
    ITunesSong* song = FindEntrySong(entry, byID != 0);
    if (!song)
        return kErrorEndOfStream;
    if (m_keptPlayList) {
        if (!InKeptPlayList(*song, byPlayListID))
            return kErrorEndOfStream;
        return m_keptPlayList->DeleteSong(song, 1, 1, byPlayListID ? m_client.get() : nullptr);
    }
    const AString path = song->GetPath();
    if (deleteFile && !path.IsEmpty() && ::FileExists(path)) {
        if (const int result = ADir::DeleteFile(path, byID, skip))
            return result;
    }
    return m_client->DeleteSong(static_cast<int32_t>(song->GetDatabaseID()), true);
}

int ADirTunesSource::ResetAddState() {
    ClearAdded();
    return 0;
}

// --- Song information ---

int ADirTunesSource::SaveArtwork(const AString& entry, int index, std::vector<uint8_t>& data) {
    ITunesSong* song = SongOfID(entry);
    return song ? song->SaveArtwork(index, data) : kErrorEndOfStream;
}

int ADirTunesSource::GetArtworkCount(const AString& entry, int& count) {
    ITunesSong* song = SongOfID(entry);
    return song ? song->GetArtworkCount(count) : kErrorEndOfStream;
}

int ADirTunesSource::GetBitRate(const AString& entry) {
    uint32_t bitRate = 0;
    if (ITunesSong* song = SongOfID(entry))
        song->GetBitRate(bitRate, 0);
    return static_cast<int>(bitRate);
}

int ADirTunesSource::GetDuration(const AString& entry) {
    uint32_t duration = 0;
    if (ITunesSong* song = SongOfID(entry))
        song->GetDuration(duration, 0);
    return static_cast<int>(duration);
}

// --- Playlists ---

int ADirTunesSource::WithClient(const std::function<int(ITunes&)>& use) {
    if (ITunes* client = ClientForChanges())
        return use(*client);
    std::unique_ptr<ITunes> temporary;
    if (const int result = ConnectTemporaryClient(temporary))
        return result;
    return use(*temporary);
}

int ADirTunesSource::CreatePlayList(const AString& name) {
    return WithClient([&](ITunes& client) { return client.CreatePlayList(name); });
}

int ADirTunesSource::DeletePlayList(const AString& name) {
    return WithClient([&](ITunes& client) { return client.DeletePlayListByName(name); });
}

int ADirTunesSource::IsPlayListReadOnly() {
    if (m_playListName.IsEmpty())
        return 0;
    std::unique_ptr<ITunes> client;
    if (ConnectTemporaryClient(client) != 0 || client->LoadPlayLists(false) != 0)
        return 0;
    for (int i = 0; i < client->GetPlayListCount(); ++i) {
        ITunesPlayList* playList = client->GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if (name.CompareNoCase(m_playListName) == 0)
            return ITunesPlayList::AccessOf(playList->GetKind()) == ITunesPlayList::kReadWrite ? 0 : 1;
    }
    return 0;
}

int ADirTunesSource::GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) {
    std::unique_ptr<ITunes> client;
    if (const int result = ConnectTemporaryClient(client))
        return result;
    if (const int result = client->LoadPlayLists(false))
        return result;
    const AString library = GetLibraryPlayListName();
    for (int i = 0; i < client->GetPlayListCount(); ++i) {
        ITunesPlayList* playList = client->GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        if ((userOnly && playList->GetKind() != ITunesPlayList::kUser) || (!withLibrary && name == library))
            continue;
        names.push_back(name);
    }
    return 0;
}

// --- Adding songs ---

int ADirTunesSource::AddToSecondPlayList(ITunesSong* song) {
    if (!m_secondPlayList || m_secondPlayList->AddSongToPlayList(song) == 0)
        return 0;
    AString line = AString("Error: ") + AString::FromInt(kErrorLastSyncPlayList);
    GetErrorText(line, kErrorLastSyncPlayList);
    m_progress->SetPos(-1.0, nullptr, nullptr, &line, m_logTime != 0);
    return kErrorLastSyncPlayList;
}

int ADirTunesSource::AddTrack(const AString& path, const AString* key, bool heldCounts, ITunesSong*& song) {
    song = nullptr;
    if (!m_client)
        return kErrorNotConnected;
    const int added = m_client->AddFile(path, key, song);
    if (added != 0 && (!heldCounts || added != kErrorDuplicate || !song))
        return added;
    if (m_keptPlayList) {
        if (const int result = m_keptPlayList->AddSongToPlayList(song))
            return result;
    }
    ClearAdded();
    return AddToSecondPlayList(song);
}

int ADirTunesSource::AddSongFile(const AString& path) {
    if (!m_client)
        return kErrorNotConnected;
    ITunesSong* song = nullptr;
    const int added = m_client->AddFile(path, nullptr, song);
    if (added != 0 && added != kErrorDuplicate)
        return added;
    if (!m_keptPlayList || !song)
        return added;
    return m_keptPlayList->AddSongToPlayList(song);
}

// --- The record ---

int ADirTunesSource::SaveClientRecord(AFile& stream, uint32_t flag, uint32_t word) {
    using namespace recordio;
    if (const int result = WriteU32(stream, word))
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

int ADirTunesSource::LoadClientRecord(AFile& stream, uint32_t flag, uint32_t word) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, word))
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
    m_client = NewClient();
    if (const int result = m_client->Load(stream))
        return result;
    FindPlayList();
    return 0;
}
