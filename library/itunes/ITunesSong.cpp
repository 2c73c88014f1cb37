#include "library/itunes/ITunesSong.h"

#include "foundation/AFile.h"
#include "foundation/AppDataFolder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/AudioDataSize.h"
#include "library/entries/FileNameRule.h"
#include "platform/files/NativeFiles.h"


namespace {

// A unique file per call in the program's data folder: both programs and several threads save
// artwork there. It counts as in use while `claim` stays open: each writer into the folder clears
// away the temporary files that no one holds.
int CreateArtworkFile(AString& path, nativefiles::FileDescriptor& claim) {
    AString folder;
    if (!GetAppDataFolder(folder))
        return kErrorNoArtworkFolder;
    folder.AppendPath("Quelloran");
    folder.AppendPath("Orvantis");
    if (!DirectoryExists(folder)) {
        if (const int result = CreateDirectoryPath(folder))
            return result;
    }
    AString target = folder;
    target.AppendPath("tmp_img.tmp");
    std::string temporary;
    claim = nativefiles::CreateTemporaryBeside(target.ToSystem8Bit(), temporary);
    if (!claim.IsOpen())
        return kErrorOpen;
    path = AString::FromSystem8Bit(temporary);
    return 0;
}

int ReadWholeFile(const AString& path, std::vector<uint8_t>& buffer) {
    const uint64_t size = GetFileSize64(path);
    if (size == 0 || size > UINT32_MAX)
        return kErrorITunesCall;
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    std::vector<uint8_t> bytes;
    const int result = recordio::ReadBytes(file, size, bytes, kErrorOutOfMemory);
    file.Close(false);
    if (result == 0)
        buffer = std::move(bytes);
    return result;
}

class FileRemover {
public:
    explicit FileRemover(const AString& path) : m_path(path.ToSystem8Bit()) {}
    ~FileRemover() { nativefiles::RemoveFile(m_path); }

private:
    std::string m_path;
};

} // namespace

ITunesSong::ITunesSong() {
    UpdateNameChecksum();
}

ITunesSong::~ITunesSong() {
    RemoveAllTracks();
}

void ITunesSong::SetPath(AString path) {
    m_record.path = std::move(path);
    m_record.path.GetExtension(m_record.extension);
    m_audioSize.reset();
}

void ITunesSong::SetPlayData(uint32_t playedCount, uint64_t playedDate, uint32_t rating) {
    m_playedCount = playedCount;
    m_playedDate = playedDate;
    m_rating = rating;
}

ITunesTrackBinding* ITunesSong::GetTrack(int index) const {
    if (index < 0 || index >= GetTrackCount())
        return nullptr;
    return m_bindings[index].get();
}

void ITunesSong::AddTrack(std::unique_ptr<ITunesTrackBinding> binding) {
    if (binding)
        m_bindings.push_back(std::move(binding));
}

void ITunesSong::RemoveTrack(int index) {
    if (index >= 0 && index < GetTrackCount())
        m_bindings.erase(m_bindings.begin() + index);
}

void ITunesSong::RemoveAllTracks() {
    m_bindings.clear();
}

void ITunesSong::UpdateNameChecksum() {
    m_record.nameChecksum = NameChecksum(m_record.title);
}

int ITunesSong::FirstTrack(ITunesTrackObject*& track) const {
    if (m_bindings.empty())
        return kErrorInvalidElement;
    track = m_bindings.front()->track.get();
    return track ? 0 : kErrorITunesCall;
}

int ITunesSong::GetText(ITunesTrackProperty property, AString& field, AString& out, uint32_t refresh,
                        int exceptionCode) {
    if (refresh) {
        ITunesTrackObject* track = nullptr;
        if (const int result = FirstTrack(track))
            return result;
        AString value;
        try {
            if (track->GetText(property, value) != 0)
                return kErrorITunesCall;
        } catch (...) {
            return exceptionCode;
        }
        field = value.Trimmed();
    }
    out = field;
    return 0;
}

int ITunesSong::GetNumber(ITunesTrackProperty property, uint32_t& field, uint32_t& out, uint32_t refresh,
                          int exceptionCode) {
    if (refresh) {
        ITunesTrackObject* track = nullptr;
        if (const int result = FirstTrack(track))
            return result;
        int32_t value = 0;
        try {
            if (track->GetNumber(property, value) != 0)
                return kErrorITunesCall;
        } catch (...) {
            return exceptionCode;
        }
        field = static_cast<uint32_t>(value);
    }
    out = field;
    return 0;
}

int ITunesSong::SetText(ITunesTrackProperty property, AString& field, AString value, uint32_t writeThrough) {
    if (!writeThrough) {
        value.Trim();
        field = std::move(value);
        return 0;
    }
    ITunesTrackObject* track = nullptr;
    if (const int result = FirstTrack(track))
        return result;
    try {
        if (track->SetText(property, value) != 0)
            return kErrorITunesCall;
    } catch (...) {
        return kErrorITunesCall;
    }
    field = std::move(value);
    return 0;
}

int ITunesSong::SetNumber(ITunesTrackProperty property, uint32_t& field, uint32_t value,
                          uint32_t writeThrough) {
    if (writeThrough) {
        ITunesTrackObject* track = nullptr;
        if (const int result = FirstTrack(track))
            return result;
        try {
            if (track->SetNumber(property, static_cast<int32_t>(value)) != 0)
                return kErrorITunesCall;
        } catch (...) {
            return kErrorITunesCall;
        }
    }
    field = value;
    return 0;
}

int ITunesSong::GetName(AString& out, uint32_t refresh) {
    const int result = GetText(ITunesTrackProperty::Name, m_record.title, out, refresh, kErrorSongGetName);
    if (result == 0 && refresh)
        UpdateNameChecksum();
    return result;
}

int ITunesSong::GetAlbum(AString& out, uint32_t refresh) {
    return GetText(ITunesTrackProperty::Album, m_record.album, out, refresh, kErrorSongGetAlbum);
}

int ITunesSong::GetArtist(AString& out, uint32_t refresh) {
    return GetText(ITunesTrackProperty::Artist, m_record.artist, out, refresh, kErrorSongGetArtist);
}

int ITunesSong::GetGenre(AString& out, uint32_t refresh) {
    return GetText(ITunesTrackProperty::Genre, m_record.genre, out, refresh, kErrorSongGetGenre);
}

int ITunesSong::GetBitRate(uint32_t& out, uint32_t refresh) {
    return GetNumber(ITunesTrackProperty::BitRate, m_record.bitRate, out, refresh, kErrorSongGetBitRate);
}

int ITunesSong::GetDuration(uint32_t& out, uint32_t refresh) {
    return GetNumber(ITunesTrackProperty::Duration, m_record.duration, out, refresh, kErrorSongGetDuration);
}

int ITunesSong::GetSize(uint32_t& out, uint32_t refresh) {
    return GetNumber(ITunesTrackProperty::Size, m_record.fileSize, out, refresh, kErrorSongGetSize);
}

int ITunesSong::SetName(AString name, uint32_t writeThrough) {
    const int result = SetText(ITunesTrackProperty::Name, m_record.title, std::move(name), writeThrough);
    if (result == 0)
        UpdateNameChecksum();
    return result;
}

int ITunesSong::SetAlbum(AString album, uint32_t writeThrough) {
    return SetText(ITunesTrackProperty::Album, m_record.album, std::move(album), writeThrough);
}

int ITunesSong::SetArtist(AString artist, uint32_t writeThrough) {
    return SetText(ITunesTrackProperty::Artist, m_record.artist, std::move(artist), writeThrough);
}

int ITunesSong::SetGenre(AString genre, uint32_t writeThrough) {
    return SetText(ITunesTrackProperty::Genre, m_record.genre, std::move(genre), writeThrough);
}

int ITunesSong::SetComposer(AString composer, uint32_t writeThrough) {
    return SetText(ITunesTrackProperty::Composer, m_record.composer, std::move(composer), writeThrough);
}

int ITunesSong::SetTrackNumber(uint32_t trackNumber, uint32_t writeThrough) {
    return SetNumber(ITunesTrackProperty::TrackNumber, m_record.trackNumber, trackNumber, writeThrough);
}

int ITunesSong::SetYear(uint32_t year, uint32_t writeThrough) {
    return SetNumber(ITunesTrackProperty::Year, m_record.year, year, writeThrough);
}

int ITunesSong::GetArtworkCount(int& count) {
    ITunesTrackObject* track = nullptr;
    if (const int result = FirstTrack(track))
        return result;
    int32_t items = 0;
    try {
        if (track->GetArtworkCount(items) != 0)
            return kErrorITunesCall;
    } catch (...) {
        return kErrorITunesCall;
    }
    count = items;
    return 0;
}

int ITunesSong::SaveArtwork(int index, std::vector<uint8_t>& buffer) {
    buffer.clear();
    int count = 0;
    if (const int result = GetArtworkCount(count))
        return result;
    if (index < 0 || count <= index)
        return 0;
    AString path;
    nativefiles::FileDescriptor claim;
    if (const int result = CreateArtworkFile(path, claim))
        return result;
    const FileRemover remover(path);
    try {
        if (m_bindings.front()->track->SaveArtworkToFile(index + 1, path) != 0)
            return kErrorITunesCall;
    } catch (...) {
        return kErrorITunesCall;
    }
    return ReadWholeFile(path, buffer);
}

uint64_t ITunesSong::GetAudioSize() {
    if (!m_audioSize)
        m_audioSize = AudioDataSizeOf(m_record.path);
    return *m_audioSize;
}

AString ITunesSong::BuildEntry(const EntryLayout& layout, bool withID) {
    std::u16string entry;
    AppendEntryText(entry,
                    {m_record.genre.GetCString(), m_record.artist.GetCString(), m_record.album.GetCString(),
                     m_record.trackNumber, m_record.title.GetCString(), m_record.extension.GetCString(),
                     [this] { return GetAudioSize(); }},
                    layout);
    if (withID)
        AppendEntryId(entry, static_cast<int32_t>(m_record.databaseID));
    return AString(std::move(entry));
}

int ITunesSong::Record::Write(AFile& stream) const {
    using namespace recordio;
    if (const int result = WriteU32(stream, kVersion))
        return result;
    for (const AString* text : {&title, &album, &artist, &genre, &composer}) {
        if (const int result = text->Serialize(stream))
            return result;
    }
    for (const uint32_t word : {trackNumber, year, bitRate, duration, fileSize}) {
        if (const int result = WriteU32(stream, word))
            return result;
    }
    if (const int result = WriteU64(stream, modTime))
        return result;
    for (const AString* text : {&path, &extension}) {
        if (const int result = text->Serialize(stream))
            return result;
    }
    if (const int result = WriteU32(stream, nameChecksum))
        return result;
    return WriteU32(stream, databaseID);
}

int ITunesSong::Record::Read(AFile& stream) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kVersion))
        return result;
    for (AString* text : {&title, &album, &artist, &genre, &composer}) {
        if (const int result = text->Load(stream))
            return result;
    }
    for (uint32_t* word : {&trackNumber, &year, &bitRate, &duration, &fileSize}) {
        if (const int result = ReadU32(stream, *word))
            return result;
    }
    if (const int result = ReadU64(stream, modTime))
        return result;
    for (AString* text : {&path, &extension}) {
        if (const int result = text->Load(stream))
            return result;
    }
    if (const int result = ReadU32(stream, nameChecksum))
        return result;
    return ReadU32(stream, databaseID);
}

int ITunesSong::Serialize(AFile& stream) const {
    return m_record.Write(stream);
}

int ITunesSong::Load(AFile& stream) {
    Record loaded;
    if (const int result = loaded.Read(stream))
        return result;
    m_record = std::move(loaded);
    m_audioSize.reset();
    RemoveAllTracks();
    return 0;
}
