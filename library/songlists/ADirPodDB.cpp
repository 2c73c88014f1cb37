#include "library/songlists/ADirPodDB.h"

#include "foundation/ACrc32.h"
#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileInfo.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/EntryText.h"
#include "library/entries/FileNameRule.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBTrack.h"
#include "library/ipod/ITunesDBTrackList.h"
#include "library/ipod/PodModelTable.h"
#include "library/ipod/PodSongInfo.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/songlists/PodRemovedFiles.h"
#include "library/tags/ID3.h"
#include "platform/files/HiddenAttribute.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>

namespace {

constexpr const char* kUnknownPodID = "00000000";
constexpr uint32_t kLetterCount = 26;
// Every four-letter name once: the most names one music folder can be asked for.
constexpr uint32_t kFileNameCount = kLetterCount * kLetterCount * kLetterCount * kLetterCount;
constexpr uint32_t kFolderShift = 24;
constexpr uint32_t kSeedMask = 0xFFFFFF;

AString MusicFolderName(uint32_t number) {
    AString name("F");
    if (number < 10)
        name += "0";
    name += AString::FromUInt(number);
    return name;
}

// "F" (any case) and two digits.
bool MusicFolderNumber(const std::string& name, int& number) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.size() != 3 || (name[0] != 'F' && name[0] != 'f') || !digit(name[1]) || !digit(name[2]))
        return false;
    number = (name[1] - '0') * 10 + (name[2] - '0');
    return true;
}

// The text from the last '.' of the file's name on, the dot included; a dot of a folder never counts.
AString DottedExtension(const AString& file) {
    const AString name = file.Mid(file.ReverseFind(kPathSeparator) + 1);
    const int dot = name.ReverseFind(u'.');
    return dot < 0 ? AString() : name.Mid(dot);
}

// An entry text that only names the track: what ITunesDB::RemoveTrack reads of an entry.
AString HandleEntry(const ITunesDBTrack& track) {
    AString entry;
    AppendEntryId(entry, static_cast<int64_t>(track.GetHandle()));
    return entry;
}

std::u16string UpperCase(AString path) {
    path.MakeUpper();
    return path.GetCString();
}

} // namespace

ADirPodDB::ADirPodDB(AProgress* progress) : ADirSong(progress) {
    m_filters.types.keep = kSongTypes;
    NewDatabase();
}

ADirPodDB::~ADirPodDB() = default;

void ADirPodDB::NewDatabase() {
    m_database = std::make_unique<ITunesDB>();
    m_database->SetTempFolder(m_workFolder);
    m_databaseRead = false;
    m_changed = false;
    m_namedTracks.clear();
    m_refusedHolders.clear();
    m_batchCopies = 0;
    m_trackFiles.reset();
}

void ADirPodDB::SetDatabaseLayout() {
    m_database->SetFolderLayout(m_layout);
}

int ADirPodDB::Open(const AString* path, uint32_t, const CancelCallback& callback) {
    if (path)
        SetRootPath(*path);
    Clear();
    return ReadDirectory(callback, 0);
}

int ADirPodDB::GetCount() const {
    return m_database ? m_database->GetEntryCount() : 0;
}

void ADirPodDB::Sort(uint32_t ascending) {
    m_database->SortEntries(ascending != 0, &m_filters);
}

void ADirPodDB::SetRootPath(const AString& path) {
    m_driveRoot = path.WithTrailingSeparator();
    FixRemovedFilesFolder();
    AddVideoTypes();
    AString musicFolder = m_driveRoot;
    musicFolder.AppendPath("iPod_Control");
    musicFolder.AppendPath("Music");
    m_rootPath = musicFolder.WithTrailingSeparator();
    // The names are enough here: the iPod's name and identifier. They are kept over an empty
    // database, which, unlike one read in part, a saved sync set can hold.
    if (m_database->Read(m_driveRoot, true) != 0 || m_database->GetPodID(m_driveRoot) != 0)
        NewDatabase();
    KeepNamesOnly();
}

// Removed files stay on the iPod unless they have a folder elsewhere that can be reached.
void ADirPodDB::FixRemovedFilesFolder() {
    m_removedFilesFolder = PodRemovedFilesFolder(m_removedFilesFolder, m_driveRoot);
}

void ADirPodDB::AddVideoTypes() {
    PodModelInfo model;
    if (GetIPodModelInfo(m_driveRoot, model) != 0 || model.family != kVideoFamily)
        return;
    m_filters.types.keep = WithVideoTypes(m_filters.types.keep);
}

AString ADirPodDB::WithVideoTypes(const AString& types) {
    if (types.Find(AString(":m4v:"), 0, false) >= 0)
        return types;
    AString keep = types.Left(types.ReverseFind(u':') + 1);
    if (keep.IsEmpty())
        keep = ":";
    keep += kVideoTypes;
    return keep;
}

AString ADirPodDB::EntryBelowRoot(const AString& entry) const {
    return ::EntryBelowRoot(entry, m_driveRoot);
}

ITunesDBTrack* ADirPodDB::FindTrack(const AString& entry, uint32_t withHandle) const {
    ITunesDBTrack* track = nullptr;
    return m_database->FindTrack(&track, EntryBelowRoot(entry), withHandle != 0) ? track : nullptr;
}

AString ADirPodDB::TrackFile(const ITunesDBTrack& track) const {
    AString path = m_driveRoot;
    path.AppendPath(track.GetPath());
    return path;
}

int ADirPodDB::GetFullPath(const AString& entry, AString& out, uint32_t flag) {
    const ITunesDBTrack* track = FindTrack(entry, flag);
    if (!track)
        return kErrorPodEntryNoPath;
    out = TrackFile(*track);
    m_namedTracks.insert(track->GetHandle());
    return 0;
}

uint64_t ADirPodDB::GetFileDate(const AString& entry) {
    const ITunesDBTrack* track = FindTrack(entry, 0);
    return track ? GetFileModTime(TrackFile(*track)) : 0;
}

int ADirPodDB::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
    if (!IsValidIndex(index, GetCount()))
        return kErrorInvalidElement;
    int result = 0;
    const AString* entry = deleteFile ? GetEntry(index) : nullptr;
    if (entry)
        result = DeleteFile(m_driveRoot + *entry, 1, skip);
    m_database->RemoveEntry(index);
    return result;
}

int ADirPodDB::DeleteFile(const AString& entry, uint32_t flag, uint32_t skip) {
    const ITunesDBTrack* track = FindTrack(entry, flag);
    if (!track)
        return kErrorPodEntryNoDelete;
    const AString path = TrackFile(*track);
    if (::FileExists(path)) {
        if (const int result = ADir::DeleteFile(path, flag, skip))
            return result;
    }
    m_database->RemoveTrack(HandleEntry(*track));
    m_changed = true;
    return 0;
}

int ADirPodDB::AddFile(const AString& entry, AddFileSongInfo& info) {
    const ITunesDBTrack* track = FindTrack(entry, 0);
    if (!track)
        return kErrorPodEntryNoSong;
    info.bitRate = track->GetBitRate();
    info.duration = track->GetDurationSeconds();
    return 0;
}

uint32_t ADirPodDB::FileExists(const AString& entry) {
    const ITunesDBTrack* track = FindTrack(entry, 0);
    return track && ::FileExists(TrackFile(*track)) ? 1 : 0;
}

// The text the sort made: building it again for every entry would cost the list as much again.
const AString* ADirPodDB::GetEntry(int index) {
    if (!m_database->GetEntry(index))
        return nullptr;
    m_entryBuffer = m_database->GetEntryText(index);
    return &m_entryBuffer;
}

void ADirPodDB::Clear() {
    ADir::Clear();
    m_musicFilesUnread = false;
    KeepNamesOnly();
}

void ADirPodDB::KeepNamesOnly() {
    m_podId = m_database->GetPodIDText();
    AString name;
    if (m_database->GetPodName(name) == 0 && !name.IsEmpty())
        m_podName = name;
    NewDatabase();
    m_database->SetPodIDText(m_podId);
    SetDatabaseLayout();
}

int ADirPodDB::Save(AFile& stream, uint32_t flag) {
    ReadMusicFiles();
    if (const int result = recordio::WriteU32(stream, kRecordVersion))
        return result;
    if (const int result = ADirSong::Save(stream, flag))
        return result;
    if (const int result = m_driveRoot.Serialize(stream))
        return result;
    if (const int result = recordio::WriteU32(stream, 1))
        return result;
    if (const int result = m_database->Serialize(&stream))
        return result;
    if (const int result = m_podId.Serialize(stream))
        return result;
    return m_workFolder.Serialize(stream);
}

// A loaded database is a record of the iPod, not its database: it is never written to the drive.
int ADirPodDB::Load(AFile& stream, uint32_t flag) {
    if (const int result = recordio::ReadVersion(stream, kRecordVersion))
        return result;
    m_musicFilesUnread = false;
    if (const int result = ADirSong::Load(stream, flag))
        return result;
    if (const int result = m_driveRoot.Load(stream))
        return result;
    uint32_t present = 0;
    if (const int result = recordio::ReadU32(stream, present))
        return result;
    if (present) {
        NewDatabase();
        if (const int result = m_database->Load(&stream))
            return result;
    }
    if (const int result = m_podId.Load(stream))
        return result;
    if (const int result = m_workFolder.Load(stream))
        return result;
    m_database->SetTempFolder(m_workFolder);
    return 0;
}

void ADirPodDB::ReadMusicFiles() {
    if (!m_musicFilesUnread)
        return;
    m_musicFilesUnread = false;
    ScanFolder(m_rootPath, 1, nullptr);
}

int ADirPodDB::SaveDatabase() {
    RefreshReplacedTracks();
    return WriteDatabase();
}

int ADirPodDB::WriteDatabase() {
    if (!m_changed)
        return 0;
    if (const int result = FlushVolume(m_driveRoot))
        return result;
    const int result = m_database->Save(nullptr);
    if (result == 0) {
        m_changed = false;
        m_batchCopies = 0;
    }
    return result;
}

void ADirPodDB::SaveBatchWhenDue() {
    const auto now = std::chrono::steady_clock::now();
    if (m_batchCopies++ == 0)
        m_batchStart = now;
    if (m_batchCopies < kSaveBatchSongs && now - m_batchStart < kSaveBatchTime)
        return;
    const int result = WriteDatabase();
    m_batchCopies = 0;
    if (result != 0) {
        AString description;
        m_progress->LogError(result, AString("Failed saving the database of "),
                             GetDescription(description, 0));
    }
}

// A sync replaces a song by copying the new file over the path this list named. A file of another
// size is another recording: its track takes the new size, length and bit rate.
void ADirPodDB::RefreshReplacedTracks() {
    const ITunesDBTrackList* tracks = m_database->GetRoot().GetTrackList();
    for (const uint64_t handle : m_namedTracks) {
        ITunesDBTrack* track = tracks ? tracks->FindByHandle(handle) : nullptr;
        if (!track)
            continue;
        const AString path = TrackFile(*track);
        FileInfo info;
        GetFileInfo(path, info);
        if (!info.exists || static_cast<uint32_t>(info.size) == track->GetFileSize())
            continue;
        ID3 tags;
        const bool tagsRead = tags.Read(path) == 0;
        track->SetField(ITunesDBTrack::kFileSizeOffset, static_cast<uint32_t>(info.size));
        track->SetModTime(info.modTime);
        if (tagsRead) {
            track->SetField(ITunesDBTrack::kLengthOffset, tags.GetDuration() * 1000);
            track->SetField(ITunesDBTrack::kBitRateOffset, tags.GetBitRate());
        }
        m_changed = true;
    }
    m_namedTracks.clear();
}

void ADirPodDB::CopySettings(const ADir& other) {
    if (other.GetType() == kTypePod) {
        ADirSong::CopySettings(other);
        return;
    }
    const auto* pod = dynamic_cast<const ADirPodDB*>(&other);
    if (!pod)
        return;
    ADirSong::CopySettings(other);
    m_driveRoot = pod->m_driveRoot;
    m_entryBuffer = pod->m_entryBuffer;
    m_podId = pod->m_podId;
    SetWorkFolder(pod->m_workFolder);
}

AString ADirPodDB::GetPodName() const {
    AString name;
    if (m_database->GetPodName(name) == 0 && !name.IsEmpty())
        return name;
    return m_podName;
}

AString& ADirPodDB::GetDescription(AString& out, uint32_t noPrefix) {
    out = noPrefix ? AString() : AString("iPod: ") + GetPodName() + " ";
    out += "Main Library";
    return out;
}

AString ADirPodDB::GetPodID() {
    if (!m_podId.IsEmpty() && m_podId.CompareNoCase(kUnknownPodID) != 0)
        return m_podId;
    if (m_database->GetPodIDText() == kUnknownPodID)
        m_database->GetPodID(m_driveRoot);
    return m_database->GetPodIDText();
}

void ADirPodDB::SetPodID(const AString& id) {
    m_podId = id;
    m_database->SetPodIDText(id);
}

void ADirPodDB::SetWorkFolder(const AString& folder) {
    m_workFolder = folder.WithTrailingSeparator();
    m_database->SetTempFolder(m_workFolder);
}

// The list's entries are the database's tracks; the files below the music folder go only into the
// list's record. So they are read when the record is written, and a listing only makes sure that the
// music folder is there: a stat of every song file would cost several times the database read.
// Half of the progress is the music folder's, half the database's.
int ADirPodDB::ReadDirectory(const CancelCallback& callback, uint32_t) {
    m_progress->PushRange(0.5);
    std::vector<nativefiles::DirectoryEntry> listing;
    const int listed = InReadingRange([this, &listing] { return ListFolder(m_rootPath, listing); });
    m_progress->PopRange();
    if (listed != 0)
        return listed;
    m_musicFolderCount = MusicFolderCountOf(listing);
    m_musicFilesUnread = true;
    FixRemovedFilesFolder();
    // With its playlists: the database is written back whole, so nothing of it may be left out.
    m_progress->PushRange(0.5);
    const int result = m_database->ReadLibrary(&m_driveRoot, true, callback, m_progress);
    m_progress->PopRange();
    if (result != 0) {
        NewDatabase();
        return result;
    }
    m_database->ClearEntries();
    SetDatabaseLayout();
    m_podId = m_database->GetPodIDText();
    m_databaseRead = true;
    return 0;
}

int ADirPodDB::AddSong(const AString& file, const CancelCallback& callback) {
    return CopySongToPod(file, nullptr, callback);
}

int ADirPodDB::GetBitRate(const AString& entry) {
    const ITunesDBTrack* track = FindTrack(entry, 1);
    return track ? static_cast<int>(track->GetBitRate()) : 0;
}

int ADirPodDB::GetDuration(const AString& entry) {
    const ITunesDBTrack* track = FindTrack(entry, 1);
    return track ? static_cast<int>(track->GetDurationSeconds()) : 0;
}

int ADirPodDB::CopySongToPod(const AString& file, const AString* name, const CancelCallback& callback,
                             const SongFields* record) {
    // A volume without a database of its own is no iPod: nothing may be made on it.
    if (!m_databaseRead)
        return kErrorNotReadForSave;
    PodSongInfo song;
    if (const int result = ReadSongFile(file, name, record, song))
        return result;
    if (const int result = m_database->AddTrack(song, nullptr, false)) {
        if (result == kErrorDuplicate)
            NoteHolderOf(song);
        return result;
    }
    AString folder;
    uint32_t seed = 0;
    if (const int result = PrepareMusicFolder(song, folder, seed))
        return result;
    const AString target = FreeTargetFile(folder, seed, DottedExtension(file));
    if (target.IsEmpty())
        return kErrorDuplicateNames;
    if (const int result = CopyWithProgress(file, target, callback, m_progress, m_copyMode != 0,
                                            CopyDurability::AtVolumeFlush))
        return result;
    if (const int result = AddCopiedTrack(song, target))
        return result;
    SaveBatchWhenDue();
    return 0;
}

// The file gives what it is (size, length, bit rate, time); a record gives what the song is called.
int ADirPodDB::ReadSongFile(const AString& file, const AString* name, const SongFields* record,
                            PodSongInfo& song) const {
    ID3 tags;
    if (const int result = tags.Read(file))
        return result;
    static_cast<SongFields&>(song) = tags.GetFields();
    if (record) {
        song.title = record->title;
        song.artist = record->artist;
        song.album = record->album;
        song.genre = record->genre;
        song.composer = record->composer;
        song.trackNumber = record->trackNumber;
        song.year = record->year;
    }
    song.modTime = GetFileModTime(file);
    if (!song.title.IsEmpty())
        song.displayName = song.title;
    else if (name && !name->IsEmpty())
        song.displayName = *name;
    return 0;
}

void ADirPodDB::NoteHolderOf(const PodSongInfo& song) {
    const ITunesDBTrackList* tracks = m_database->GetRoot().GetTrackList();
    if (!tracks)
        return;
    for (const ITunesDBTrack* track : tracks->GetBucket(NameChecksum(song.displayName.Trimmed()))) {
        if (track->MatchesDescription(song))
            m_refusedHolders.insert(track->GetHandle());
    }
}

bool ADirPodDB::HoldsRefusedSong(const AString& entry) const {
    const ITunesDBTrack* track = FindTrack(entry, 1);
    return track && m_refusedHolders.contains(track->GetHandle());
}

// The song's folder follows from its names, so that the songs of one album come together.
int ADirPodDB::PrepareMusicFolder(const PodSongInfo& song, AString& folder, uint32_t& seed) {
    ACrc32 crc;
    for (const AString* text : {&song.genre, &song.artist, &song.album, &song.displayName})
        crc.Update(*text);
    const uint32_t checksum = crc.GetValue();
    seed = checksum & kSeedMask;
    folder = m_rootPath;
    folder.AppendPath(MusicFolderName((checksum >> kFolderShift) % m_musicFolderCount));
    if (DirectoryExists(folder))
        return 0;
    if (const int result = CreateDirectoryPath(folder))
        return result;
    return SetFileVisible(folder, false);
}

int ADirPodDB::MusicFolderCountOf(const std::vector<nativefiles::DirectoryEntry>& listing) const {
    std::vector<bool> present(kMaxMusicFolders);
    for (const nativefiles::DirectoryEntry& item : listing) {
        int number = 0;
        if (item.isDirectory && MusicFolderNumber(item.name, number))
            present[static_cast<size_t>(number)] = true;
    }
    const auto run = std::find(present.begin(), present.end(), false) - present.begin();
    if (run > 0)
        return static_cast<int>(run);
    PodModelInfo model;
    if (GetIPodModelInfo(m_driveRoot, model) == 0 && model.musicFolders > 0)
        return static_cast<int>(model.musicFolders);
    return kUnknownModelMusicFolders;
}

AString ADirPodDB::FreeTargetFile(const AString& folder, uint32_t seed, const AString& extension) {
    for (uint32_t attempt = 0; attempt < kFileNameCount; ++attempt) {
        AString target = folder;
        target.AppendPath(MakeFileName(seed + attempt) + extension);
        if (!IsNameTaken(target))
            return target;
    }
    return AString();
}

// A name is taken by a file, and also by a track whose file is gone: deleting that track later must
// not take the new song's file with it.
bool ADirPodDB::IsNameTaken(const AString& file) {
    if (PathExists(file))
        return true;
    if (!m_trackFiles) {
        m_trackFiles.emplace();
        if (const ITunesDBTrackList* tracks = m_database->GetRoot().GetTrackList())
            tracks->ForEachTrack(
                [this](ITunesDBTrack& track) { m_trackFiles->insert(UpperCase(track.GetPath())); });
    }
    AString belowRoot = file.Mid(m_driveRoot.GetLength());
    belowRoot.Insert(0, AString("/"));
    return m_trackFiles->contains(UpperCase(belowRoot));
}

int ADirPodDB::AddCopiedTrack(PodSongInfo& song, const AString& target) {
    song.path = target.Mid(m_driveRoot.GetLength());
    ITunesDBTrack* track = nullptr;
    if (const int result = m_database->AddTrack(song, &track, true)) {
        DeleteFileLong(target, m_copyMode != 0);
        return result;
    }
    m_changed = true;
    if (m_trackFiles)
        m_trackFiles->insert(UpperCase(track->GetPath()));
    return 0;
}

AString ADirPodDB::MakeLetterName(uint32_t n) {
    AString reversed;
    do {
        reversed += static_cast<char16_t>(u'A' + n % kLetterCount);
        n /= kLetterCount;
    } while (n != 0);
    AString name;
    for (int i = reversed.GetLength() - 1; i >= 0; --i)
        name += reversed.GetAt(i);
    return name;
}

AString ADirPodDB::MakeFileName(uint32_t seed) {
    AString name = MakeLetterName(seed % kFileNameCount);
    while (name.GetLength() < kFileNameLetters)
        name.Insert(0, AString("A"));
    return name;
}

int ADirPodDB::SetFileVisible(const AString& path, bool visible) {
    switch (nativefiles::SetHiddenAttribute(path.ToSystem8Bit(), !visible)) {
    case nativefiles::HiddenOutcome::Done:
        return 0;
    case nativefiles::HiddenOutcome::CannotRead:
        return kErrorGetAttributes;
    case nativefiles::HiddenOutcome::CannotChange:
        break;
    }
    return kErrorSetAttributes;
}
