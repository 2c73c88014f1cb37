#pragma once
// The small value types of the stand-in for the music application: call results, the kinds of
// sources, playlists and tracks, and the four ids that name a track.

#include <cstdint>

namespace itunesapp {

// What every call answers. A client maps Failed to its "communication error", Gone to "not connected",
// Busy to "retry later" and Unreadable to "the library file cannot be read".
enum class Status {
    Ok,
    Ended,  // TrackEnumerator::Next: fewer items than asked were left; the enumeration is over
    Failed, // the call failed or the object it names no longer exists
    Gone,   // the application quit since the object was made
    Busy,   // Application::Create: the application asks to be called again later
    // The library file cannot be read (ITunesInstance::LibraryProblem says which and why): the
    // application does not start, and a library that became unreadable takes no change.
    Unreadable,
};

enum class SourceKind : int32_t { Library = 1, IPod = 2 };

// The library playlist of a source (its first playlist) answers as the library playlist only; every
// other playlist is a user playlist.
enum class PlaylistKind { Library, User };

// The kinds of playlist that the application keeps itself. A sync may change the songs of None,
// PurchasedMusic and PartyShuffle only; smart playlists (Smart = true) and every kind from Podcasts on
// are read-only.
enum class SpecialKind : int32_t {
    None = 0,
    PurchasedMusic = 1,
    PartyShuffle = 2,
    Podcasts = 3,
    Folder = 4,
    Videos = 5,
    Music = 6,
    Movies = 7,
    TVShows = 8,
    Audiobooks = 9,
};

enum class TrackKind { File, URL };

// The ids that find a track again (Application::GetTrackByIDs) and that the "database changed" event
// reports. A playlist is named with track and database id 0.
struct ObjectIDs {
    int32_t sourceID = 0;
    int32_t playlistID = 0;
    int32_t trackID = 0;
    int32_t databaseID = 0;

    bool operator==(const ObjectIDs&) const = default;
};

} // namespace itunesapp
