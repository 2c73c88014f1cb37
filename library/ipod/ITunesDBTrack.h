#pragma once
// "mhit": one track of the iPod database. The standard 244-byte header is kept whole in file layout,
// so every field this system does not set is carried over; header bytes beyond it are kept as well.

#include "foundation/AString.h"
#include "library/entries/EntryText.h"
#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBString.h"

#include <cstdint>
#include <span>
#include <string>

class AFile;
class ITunesDBInput;
class ITunesSong;
struct PodSongInfo;

class ITunesDBTrack {
public:
    static constexpr uint32_t kStandardHeaderLength = 244;
    static constexpr uint32_t kStringCountOffset = 12;
    static constexpr uint32_t kTrackIdOffset = 16;
    static constexpr uint32_t kVisibleOffset = 20;
    static constexpr uint32_t kFileTypeOffset = 28;
    // The times (kModTimeOffset, kLastPlayedOffset, kDateAddedOffset) are in the database's own scale
    // (ITunesDBTime.h): read and set them through the time accessors below.
    static constexpr uint32_t kModTimeOffset = 32;
    static constexpr uint32_t kFileSizeOffset = 36;
    static constexpr uint32_t kLengthOffset = 40;
    static constexpr uint32_t kTrackNumberOffset = 44;
    static constexpr uint32_t kYearOffset = 52;
    static constexpr uint32_t kBitRateOffset = 56;
    static constexpr uint32_t kSampleRateOffset = 60;
    static constexpr uint32_t kPlayCountOffset = 80;
    static constexpr uint32_t kLastPlayedOffset = 88; // 0 = never
    // The rating (0 to 100) is the high byte of the word at kFileTypeOffset.
    static constexpr uint32_t kRatingShift = 24;
    static constexpr uint32_t kDateAddedOffset = 104;

    // A new track with the defaults of the format.
    ITunesDBTrack();

    int Read(ITunesDBInput& input, uint64_t parentEnd);
    int Write(AFile& stream) const;
    uint64_t GetTotalLength() const;

    // A decimal number that names this record among the live tracks.
    uint64_t GetHandle() const { return m_handle; }
    uint32_t GetTrackId() const { return m_trackId; }
    void SetTrackId(uint32_t id) { m_trackId = id; }
    uint32_t GetTitleChecksum() const { return m_titleChecksum; }

    const AString& GetTitle() const { return m_title; }
    const AString& GetAlbum() const { return m_album; }
    const AString& GetArtist() const { return m_artist; }
    const AString& GetGenre() const { return m_genre; }
    AString GetComposer() const;
    // Below the iPod's root, native form: "/iPod_Control/Music/F00/ABCD.mp3".
    const AString& GetPath() const { return m_path; }
    const AString& GetExtension() const { return m_extension; }
    uint32_t GetBitRate() const { return m_frame.Get32(kBitRateOffset); }
    uint32_t GetDurationSeconds() const { return m_frame.Get32(kLengthOffset) / 1000; }
    uint32_t GetFileSize() const { return m_frame.Get32(kFileSizeOffset); }
    // A time of the track by its offset, as a Unix time; 0 = none.
    int64_t GetUnixTime(uint32_t offset) const;
    void SetUnixTime(uint32_t offset, int64_t unixSeconds);
    // The modification time in the system's seconds since 1904 (FileOps.h); 0 = none.
    void SetModTime(uint64_t macTime);
    uint32_t GetStringCount() const { return static_cast<uint32_t>(m_strings.size()); }
    const ITunesDBString& GetString(int index) const { return m_strings.at(index); }
    // As read or made; the string count and the track id are put over it on writing.
    std::span<const uint8_t> GetHeaderBytes() const { return m_frame.GetHeaderBytes(); }
    // A word of the standard header, by one of the offsets above.
    uint32_t GetField(uint32_t offset) const { return m_frame.Get32(offset); }
    void SetField(uint32_t offset, uint32_t value) { m_frame.Set32(offset, value); }

    // Sets the text of the string object of that type, creating it when the track has none.
    void SetString(const AString& text, uint32_t type);
    void SetTitle(const AString& title);
    // Takes a path below the iPod's root in either separator form.
    void SetPath(const AString& pathOnIPod);
    // The tags, sizes and times of a new track.
    void SetFromDescription(const PodSongInfo& description);

    bool MatchesDescription(const PodSongInfo& description) const;
    // Same file size, then title, artist, album and genre equal without case.
    bool MatchesSong(ITunesSong& song) const;

    // The track's entry text in the layout, with the "?" + handle tail when asked. The track's file below
    // `drive` is read for its audio size only when nothing else names the song, and only once for its
    // path.
    AString BuildEntry(const EntryLayout& layout, const AString& drive, bool withHandle);
    // The same text appended to `entry`.
    void AppendEntry(std::u16string& entry, const EntryLayout& layout, const AString& drive, bool withHandle);

private:
    static constexpr uint64_t kAudioSizeUnknown = UINT64_MAX;

    void DecodeStrings();
    const ITunesDBString* FindString(uint32_t type) const;
    uint64_t AudioSizeBelow(const AString& drive);

    uint64_t m_handle;
    ITunesDBChunkFrame m_frame;
    ITunesDBStrings m_strings;
    uint32_t m_trackId = 0;
    uint32_t m_titleChecksum = 0;
    AString m_title;
    AString m_path;
    AString m_album;
    AString m_artist;
    AString m_genre;
    AString m_extension;
    uint64_t m_audioDataSize = kAudioSizeUnknown; // never written
};
