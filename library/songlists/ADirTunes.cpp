#include "library/songlists/ADirTunes.h"

#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/entries/FileNameRule.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/itunes/MusicFolder.h"
#include "library/itunes/ReadTunesPrefs.h"
#include "platform/files/PathSeparator.h"

namespace {

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

} // namespace

ADirTunes::ADirTunes(AProgress* progress) : ADirTunesSource(progress) {
    m_removedFilesFolder = ParentOfFolder(ReadMusicFolder());
    AString account;
    if (ReadTunesPrefs(account) == 0)
        m_allowedAppleIDs = AString(":") + account + ":";
    m_rootPath = kRootMarker;
}

ADirTunes::~ADirTunes() = default;

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
        m_client = NewClient();
    }
    m_client->SetFolderLayout(m_layout);
    if (const int result = ConnectClient(*m_client))
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

uint32_t ADirTunes::FileExists(const AString& entry) {
    AString path;
    return GetFullPath(entry, path, 0) == 0 && ::FileExists(path) ? 1 : 0;
}

int ADirTunes::DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) {
    return DeleteEntrySong(entry, byID, skip, m_deleteFiles != 0, byID != 0);
}

AString& ADirTunes::GetDescription(AString& out, uint32_t noPrefix) {
    out = noPrefix ? m_playListName : AString("iTunes:") + m_playListName;
    return out;
}

void ADirTunes::GetMusicFolder(AString& out) {
    out = ReadMusicFolder();
}

int ADirTunes::CreateSyncPlayList(const AString& name) {
    return ADirTunes::CreatePlayList(name);
}

std::unique_ptr<ITunes> ADirTunes::NewClient() const {
    return std::make_unique<ITunes>();
}

int ADirTunes::ConnectTemporaryClient(std::unique_ptr<ITunes>& client) const {
    client = NewClient();
    return ConnectClient(*client);
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

bool ADirTunes::GetRecordFields(const AString& entry, SongFields& fields) const {
    ITunesSong* song = SongOfID(entry);
    if (!song)
        return false;
    song->GetName(fields.title, 0);
    song->GetArtist(fields.artist, 0);
    song->GetAlbum(fields.album, 0);
    song->GetGenre(fields.genre, 0);
    fields.composer = song->GetComposer();
    fields.trackNumber = song->GetTrackNumber();
    fields.year = song->GetYear();
    return true;
}

int ADirTunes::UpdateSongInfo(const AString& entry, const AString& key, const ITunesPlayDataFields& fields) {
    if (!m_client)
        return kErrorNotConnected;
    return m_client->UpdateSongInfo(ITunes::DatabaseIDOfEntry(entry), key, fields);
}

int ADirTunes::AddTrackFile(const AString& path, const AString* key) {
    ITunesSong* song = nullptr;
    return AddTrack(path, key, true, song);
}

int ADirTunes::AddPlacedSong(const AString& file, const AString* key, const CancelCallback&) {
    return AddTrackFile(file, key);
}

int ADirTunes::DiscardPlacedFile(const AString& file) {
    return DeleteFileLong(file, m_copyMode != 0);
}

int ADirTunes::PlaceFileInLibrary(const AString& musicFolder, const AString& file, AString& target,
                                  uint32_t& copied, const CancelCallback& callback) {
    return GetMusicFolderPath(musicFolder, file, target, AString(), copied, callback);
}

int ADirTunes::AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback&) {
    ITunesSong* song = nullptr;
    const int result = AddTrack(file, nullptr, true, song);
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
    // A copy the library did not take is not left in the music folder.
    const int added = AddSongFile(target);
    if (added != 0 && added != kErrorDuplicate && copied)
        DeleteFileLong(target, m_copyMode != 0);
    return added;
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
    return SaveClientRecord(stream, flag, kTunesRecordWord);
}

int ADirTunes::Load(AFile& stream, uint32_t flag) {
    return LoadClientRecord(stream, flag, kTunesRecordWord);
}
