#pragma once
// A track as one playlist holds it. Its track id and its database id are both the library file's
// "Track ID": the same for the song in every playlist of its source, never 0. Deleting it from the
// library playlist takes the song out of the source and all its playlists; deleting it from a user
// playlist takes out this occurrence only.

#include "platform/itunes/HandleCore.h"
#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <memory>
#include <string>

namespace itunesapp {

class ArtworkCollection;
class SourceBackend;
struct TrackRecord;

// Every text can be read and written; the tag fields and the play data are kept by the library (the
// song file's own tags are not rewritten).
enum class TextField { Name, Album, Artist, Genre, Composer, Comment, Equalizer };
// TrackNumber, Year, PlayedCount and Rating (0 to 100) can be written. Duration is in seconds, the
// playing time in milliseconds rounded to the nearest second; BitRate in kbit/s.
enum class NumberField { TrackNumber, Year, BitRate, Duration, PlayedCount, Rating, TrackID, DatabaseID };
// OLE automation dates in local time; 0.0 for a date that is not set (a track never played). Only the
// played date can be written, and 0.0 makes the track never played.
enum class DateField { Modified, Played };

class Track {
public:
    Track(HandleCore core, int32_t sourceID, int32_t playlistID, int32_t trackID, uint64_t serial)
        : m_core(std::move(core)), m_sourceID(sourceID), m_playlistID(playlistID), m_trackID(trackID),
          m_serial(serial) {}

    Status GetKind(TrackKind& kind) const;
    Status GetText(TextField field, std::u16string& value) const;
    Status SetText(TextField field, const std::u16string& value) const;
    Status GetNumber(NumberField field, int32_t& value) const;
    Status SetNumber(NumberField field, int32_t value) const;
    // The file's size in bytes.
    Status GetSize(int64_t& size) const;
    Status GetDate(DateField field, double& date) const;
    Status SetDate(DateField field, double date) const;
    // {source, this track's playlist, track id, database id}.
    Status GetObjectIDs(ObjectIDs& ids) const;
    // File tracks: the song file's path (native bytes; empty when the library knows none).
    Status GetLocation(std::string& path) const;
    // The pictures of the song file; none for a URL track.
    Status GetArtwork(std::shared_ptr<ArtworkCollection>& artwork) const;
    Status Delete() const;

private:
    friend class Playlist;

    // Runs `read` on the track's source and record within one call; Failed when the track is gone.
    template <class Reader> Status Read(const Reader& read) const;
    // Makes the change `edit` of the track's record.
    template <class Edit> Status Change(const Edit& edit) const;

    HandleCore m_core;
    int32_t m_sourceID;
    int32_t m_playlistID;
    int32_t m_trackID;
    uint64_t m_serial;
    // The record found last, good while its source has the same epoch (reads run under the lock).
    mutable uint64_t m_cachedEpoch = 0;
    mutable const TrackRecord* m_cachedRecord = nullptr;
};

} // namespace itunesapp
