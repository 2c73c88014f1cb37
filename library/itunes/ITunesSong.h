#pragma once
// The record of one song on the iTunes side (the local library, an iPod seen through iTunes, and, by
// its saved form, the library of another computer). Each field has a local copy; getters can refresh it
// from the first bound track and setters can write through to that track.

#include "foundation/AString.h"
#include "library/entries/EntryText.h"
#include "library/itunes/ITunesTrackBinding.h"
#include "library/tags/SongFields.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class AFile;

class ITunesSong {
public:
    static constexpr uint32_t kVersion = 0x00100000;

    ITunesSong();
    ITunesSong(const ITunesSong&) = delete;
    ITunesSong& operator=(const ITunesSong&) = delete;
    ~ITunesSong();

    AString GetPath() const { return m_record.path; }
    // Also sets the extension: the text after the last '.' of the file name, empty when there is none.
    void SetPath(AString path);
    const AString& GetExtension() const { return m_record.extension; }
    uint32_t GetDatabaseID() const { return m_record.databaseID; }
    void SetDatabaseID(uint32_t id) { m_record.databaseID = id; }
    uint32_t GetNameChecksum() const { return m_record.nameChecksum; }
    void SetBitRate(uint32_t bitRate) { m_record.bitRate = bitRate; }
    void SetDuration(uint32_t seconds) { m_record.duration = seconds; }
    void SetSize(uint32_t size) { m_record.fileSize = size; }
    void SetModTime(uint64_t macTime) { m_record.modTime = macTime; }
    uint64_t GetModTime() const { return m_record.modTime; }
    const AString& GetComposer() const { return m_record.composer; }
    uint32_t GetTrackNumber() const { return m_record.trackNumber; }
    uint32_t GetYear() const { return m_record.year; }

    // The play data that the iTunes client fills when it loads a track; not saved.
    void SetPlayData(uint32_t playedCount, uint64_t playedDate, uint32_t rating);
    uint32_t GetPlayedCount() const { return m_playedCount; }
    uint64_t GetPlayedDate() const { return m_playedDate; }
    uint32_t GetRating() const { return m_rating; }
    const AString& GetComment() const { return m_comment; }
    void SetComment(AString comment) { m_comment = std::move(comment); }
    const AString& GetEqualizer() const { return m_equalizer; }
    void SetEqualizer(AString equalizer) { m_equalizer = std::move(equalizer); }

    int GetTrackCount() const { return static_cast<int>(m_bindings.size()); }
    // Null for an index outside the list.
    ITunesTrackBinding* GetTrack(int index) const;
    // The song takes the binding.
    void AddTrack(std::unique_ptr<ITunesTrackBinding> binding);
    // Releases the binding's track reference and frees it.
    void RemoveTrack(int index);

    // With `refresh`, the property is read from the first bound track into the local field first.
    int GetName(AString& out, uint32_t refresh);
    int GetAlbum(AString& out, uint32_t refresh);
    int GetArtist(AString& out, uint32_t refresh);
    int GetGenre(AString& out, uint32_t refresh);
    int GetBitRate(uint32_t& out, uint32_t refresh);
    int GetDuration(uint32_t& out, uint32_t refresh);
    int GetSize(uint32_t& out, uint32_t refresh);

    // With `writeThrough`, the first bound track takes the value first; the local field changes only
    // once the track accepted it.
    int SetName(AString name, uint32_t writeThrough);
    int SetAlbum(AString album, uint32_t writeThrough);
    int SetArtist(AString artist, uint32_t writeThrough);
    int SetGenre(AString genre, uint32_t writeThrough);
    int SetComposer(AString composer, uint32_t writeThrough);
    int SetTrackNumber(uint32_t trackNumber, uint32_t writeThrough);
    int SetYear(uint32_t year, uint32_t writeThrough);

    int GetArtworkCount(int& count);
    // The bytes of artwork `index` (from 0) of the first bound track; empty when there is no such one.
    int SaveArtwork(int index, std::vector<uint8_t>& buffer);

    // The song's entry text in the layout, with the "?" + database id tail when asked. The file is read
    // for its audio size only when nothing else names the song, and only once for its path.
    AString BuildEntry(const EntryLayout& layout, bool withID);

    int Serialize(AFile& stream) const;
    // All or nothing: a failed load leaves the record as it was. A loaded song is bound to nothing.
    int Load(AFile& stream);

private:
    // The song's fields (its name is the title) and what the record adds; saved are the name, album,
    // artist, genre, composer, track number, year, bit rate, duration, size, modification time, path,
    // extension, name checksum and database id, in this order.
    struct Record : SongFields {
        uint64_t modTime = 0;
        AString path;
        uint32_t nameChecksum = 0;
        uint32_t databaseID = 0;

        int Write(AFile& stream) const;
        int Read(AFile& stream);
    };

    int GetText(ITunesTrackProperty property, AString& field, AString& out, uint32_t refresh,
                int exceptionCode);
    int GetNumber(ITunesTrackProperty property, uint32_t& field, uint32_t& out, uint32_t refresh,
                  int exceptionCode);
    int SetText(ITunesTrackProperty property, AString& field, AString value, uint32_t writeThrough);
    int SetNumber(ITunesTrackProperty property, uint32_t& field, uint32_t value, uint32_t writeThrough);
    // The track of the first binding, or the code that its absence gives.
    int FirstTrack(ITunesTrackObject*& track) const;
    void UpdateNameChecksum();
    uint64_t GetAudioSize();
    void RemoveAllTracks();

    Record m_record;
    std::optional<uint64_t> m_audioSize;
    std::vector<std::unique_ptr<ITunesTrackBinding>> m_bindings;
    uint32_t m_playedCount = 0;
    uint64_t m_playedDate = 0;
    uint32_t m_rating = 0;
    AString m_comment;
    AString m_equalizer;
};
