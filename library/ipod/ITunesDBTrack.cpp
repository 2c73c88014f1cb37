#include "library/ipod/ITunesDBTrack.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/entries/AudioDataSize.h"
#include "library/entries/FileNameRule.h"
#include "library/ipod/ITunesDBInput.h"
#include "library/ipod/ITunesDBTime.h"
#include "library/ipod/PodSongInfo.h"
#include "library/itunes/ITunesSong.h"
#include "platform/files/PathSeparator.h"

#include <atomic>

namespace {

constexpr char kTag[] = "mhit";
constexpr ITunesDBChunkCodes kCodes{kErrorNotTrack, kErrorTrackHeaderLength, kErrorTrackNoMemory};
constexpr uint32_t kKnownLength = ITunesDBChunkFrame::kPrefixLength;
constexpr uint32_t kNewVisible = 1;
constexpr uint32_t kNewFileType = 256;
constexpr uint32_t kNewSampleRate = 44100u << 16;
constexpr char16_t kLocationSeparator = u':';

std::atomic<uint64_t> g_nextHandle{1};

} // namespace

ITunesDBTrack::ITunesDBTrack() : m_handle(g_nextHandle++) {
    m_frame.Create(kTag, kStandardHeaderLength, true);
    m_frame.Set32(kVisibleOffset, kNewVisible);
    m_frame.Set32(kFileTypeOffset, kNewFileType);
    m_frame.Set32(kSampleRateOffset, kNewSampleRate);
    m_titleChecksum = NameChecksum(m_title);
}

int ITunesDBTrack::Read(ITunesDBInput& input, uint64_t parentEnd) {
    m_strings.clear();
    if (const int result = m_frame.ReadHeader(input, parentEnd, kTag, kKnownLength, true, kCodes))
        return result;
    const uint32_t count = m_frame.Get32(kStringCountOffset);
    m_trackId = m_frame.Get32(kTrackIdOffset);
    // A shorter header is read as far as it goes and written back at the standard length.
    if (const int result = m_frame.ExtendHeaderTo(kStandardHeaderLength, kErrorTrackNoMemory))
        return result;
    if (const int result = ITunesDBString::ReadList(input, count, m_frame.GetEnd(), m_strings))
        return result;
    if (const int result = m_frame.ReadTail(input, kErrorTrackNoMemory))
        return result;
    DecodeStrings();
    return 0;
}

// The first string object of each type counts, as SetString changes the first.
const ITunesDBString* ITunesDBTrack::FindString(uint32_t type) const {
    for (const ITunesDBString& string : m_strings) {
        if (string.GetType() == type)
            return &string;
    }
    return nullptr;
}

void ITunesDBTrack::DecodeStrings() {
    const auto trimmedText = [this](uint32_t type) {
        const ITunesDBString* string = FindString(type);
        AString text = string ? string->GetText() : AString();
        text.Trim();
        return text;
    };
    m_title = trimmedText(ITunesDBString::kTitle);
    m_album = trimmedText(ITunesDBString::kAlbum);
    m_artist = trimmedText(ITunesDBString::kArtist);
    m_genre = trimmedText(ITunesDBString::kGenre);
    const ITunesDBString* location = FindString(ITunesDBString::kLocation);
    m_path = location ? location->GetText() : AString();
    m_path.Replace(kLocationSeparator, kPathSeparator);
    m_path.GetExtension(m_extension);
    m_titleChecksum = NameChecksum(m_title);
}

AString ITunesDBTrack::GetComposer() const {
    const ITunesDBString* composer = FindString(ITunesDBString::kComposer);
    return composer ? composer->GetText().Trimmed() : AString();
}

uint64_t ITunesDBTrack::GetTotalLength() const {
    return m_frame.GetOwnLength() + ITunesDBString::ListLength(m_strings);
}

int ITunesDBTrack::Write(AFile& stream) const {
    if (const int result = m_frame.WriteHeader(
            stream, GetTotalLength(), {{kStringCountOffset, GetStringCount()}, {kTrackIdOffset, m_trackId}}))
        return result;
    if (const int result = ITunesDBString::WriteList(stream, m_strings))
        return result;
    return m_frame.WriteTail(stream);
}

void ITunesDBTrack::SetString(const AString& text, uint32_t type) {
    ITunesDBString::SetListText(m_strings, text, type);
    DecodeStrings();
}

void ITunesDBTrack::SetTitle(const AString& title) {
    SetString(title.Trimmed(), ITunesDBString::kTitle);
}

void ITunesDBTrack::SetPath(const AString& pathOnIPod) {
    AString native(pathOnIPod);
    native.Replace(u'\\', kPathSeparator);
    AString location; // rooted: the separator in front when it is missing
    location.AppendPath(native);
    location.Replace(kPathSeparator, kLocationSeparator);
    SetString(location, ITunesDBString::kLocation);
    m_audioDataSize = kAudioSizeUnknown;
}

int64_t ITunesDBTrack::GetUnixTime(uint32_t offset) const {
    return UnixFromITunesDBTime(m_frame.Get32(offset));
}

void ITunesDBTrack::SetUnixTime(uint32_t offset, int64_t unixSeconds) {
    m_frame.Set32(offset, ITunesDBTimeFromUnix(unixSeconds));
}

void ITunesDBTrack::SetModTime(uint64_t macTime) {
    SetUnixTime(kModTimeOffset, macTime == 0 ? 0 : MacToUnixTime(macTime));
}

void ITunesDBTrack::SetFromDescription(const PodSongInfo& description) {
    SetString(description.album.Trimmed(), ITunesDBString::kAlbum);
    SetString(description.artist.Trimmed(), ITunesDBString::kArtist);
    SetString(description.genre.Trimmed(), ITunesDBString::kGenre);
    SetString(description.composer.Trimmed(), ITunesDBString::kComposer);
    SetTitle(description.displayName);
    m_frame.Set32(kTrackNumberOffset, description.trackNumber);
    m_frame.Set32(kYearOffset, description.year);
    m_frame.Set32(kBitRateOffset, description.bitRate);
    m_frame.Set32(kFileSizeOffset, description.fileSize);
    SetModTime(description.modTime);
    m_frame.Set32(kLengthOffset, description.duration * 1000);
    SetPath(description.path);
}

bool ITunesDBTrack::MatchesDescription(const PodSongInfo& description) const {
    return m_genre.CompareNoCase(description.genre.Trimmed()) == 0 &&
           m_artist.CompareNoCase(description.artist.Trimmed()) == 0 &&
           m_album.CompareNoCase(description.album.Trimmed()) == 0 &&
           m_title.CompareNoCase(description.displayName.Trimmed()) == 0 &&
           m_extension.CompareNoCase(description.extension) == 0;
}

bool ITunesDBTrack::MatchesSong(ITunesSong& song) const {
    uint32_t size = 0;
    song.GetSize(size, 0);
    if (size != GetFileSize())
        return false;
    AString title, artist, album, genre;
    song.GetName(title, 0);
    song.GetArtist(artist, 0);
    song.GetAlbum(album, 0);
    song.GetGenre(genre, 0);
    return m_title.CompareNoCase(title) == 0 && m_artist.CompareNoCase(artist) == 0 &&
           m_album.CompareNoCase(album) == 0 && m_genre.CompareNoCase(genre) == 0;
}

uint64_t ITunesDBTrack::AudioSizeBelow(const AString& drive) {
    if (m_audioDataSize == kAudioSizeUnknown) {
        AString file(drive);
        file.AppendPath(m_path);
        m_audioDataSize = AudioDataSizeOf(file);
    }
    return m_audioDataSize;
}

AString ITunesDBTrack::BuildEntry(const EntryLayout& layout, const AString& drive, bool withHandle) {
    std::u16string entry;
    AppendEntry(entry, layout, drive, withHandle);
    return AString(std::move(entry));
}

void ITunesDBTrack::AppendEntry(std::u16string& entry, const EntryLayout& layout, const AString& drive,
                                bool withHandle) {
    // The frame lies apart from the texts: it is read only for a layout that shows the track number.
    AppendEntryText(entry,
                    {m_genre.GetCString(), m_artist.GetCString(), m_album.GetCString(),
                     layout.track ? m_frame.Get32(kTrackNumberOffset) : 0, m_title.GetCString(),
                     m_extension.GetCString(),
                     [this, &drive] { return AudioSizeBelow(drive); }},
                    layout);
    if (withHandle)
        AppendEntryId(entry, static_cast<int64_t>(m_handle));
}
