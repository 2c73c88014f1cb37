#pragma once
// The content of one source of the application: its tracks by id and its playlists, the first of which
// is the source's library playlist and holds every track once. Texts are UTF-8; paths are native bytes.

#include "platform/itunes/FileForm.h"
#include "platform/itunes/ITunesTypes.h"
#include "platform/itunes/LibraryDates.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace itunesapp {

// What the stand-in knows of a track.
struct TrackValues {
    int32_t id = 0; // "Track ID": the track id and the database id at once; never 0
    TrackKind kind = TrackKind::File;
    std::string name;
    std::string artist;
    std::string album;
    std::string genre;
    std::string composer;
    std::string comment;
    std::string equalizer;
    uint32_t trackNumber = 0;
    uint32_t year = 0;
    uint32_t bitRate = 0;
    uint32_t totalTimeMs = 0;
    uint64_t size = 0;
    int64_t modified = kNoDate;
    int64_t added = kNoDate;
    int64_t played = kNoDate;
    uint32_t playedCount = 0;
    uint32_t rating = 0;
    std::string location; // file tracks: the native path; URL tracks: the URL
    uint64_t persistentID = 0;

    bool operator==(const TrackValues&) const = default;
};

struct TrackRecord : TrackValues {
    // The track as the library file gave it; empty for a track that no file held.
    FileForm form;

    bool operator==(const TrackRecord&) const = default;
};

struct PlaylistItem {
    int32_t trackID = 0;
    // Tells apart two occurrences of one track in a playlist; unique in the process, never saved.
    uint64_t serial = 0;
};

struct PlaylistRecord {
    int32_t id = 0;
    uint64_t persistentID = 0;
    std::string name;
    bool master = false;
    int32_t distinguishedKind = 0; // the library file's number for a playlist the application keeps
    bool folder = false;
    // Smart playlists keep their rules in keys the stand-in keeps but does not read.
    bool smart = false;
    bool visible = true;
    bool allItems = false; // the library playlist, which holds every item
    std::vector<PlaylistItem> items;
    // The playlist as the library file gave it; empty for a playlist that no file held.
    FileForm form;

    SpecialKind GetSpecialKind() const;
    bool IsSmart() const { return smart; }
    // Smart playlists and folders compute their songs: nothing may add or remove one by hand.
    bool HoldsComputedSongs() const { return folder || IsSmart(); }
    // Equal values, items compared by their tracks (serials aside).
    bool SameValues(const PlaylistRecord& other) const;
    // Equal values, written alike by the library file.
    bool SameContent(const PlaylistRecord& other) const { return SameValues(other) && form == other.form; }
};

class MediaModel {
public:
    MediaModel();
    // The location index refers to the records' own texts: a model moves, it is never copied.
    MediaModel(MediaModel&&) = default;
    MediaModel& operator=(MediaModel&&) = default;
    MediaModel(const MediaModel&) = delete;
    MediaModel& operator=(const MediaModel&) = delete;

    const std::unordered_map<int32_t, TrackRecord>& Tracks() const { return m_tracks; }
    TrackRecord* FindTrack(int32_t id);
    const TrackRecord* FindTrack(int32_t id) const;
    // The file track at the path, or null. The index of locations is made at the first call: a library
    // that is only read never pays for it.
    const TrackRecord* TrackAt(const std::string& location);

    const std::vector<PlaylistRecord>& Playlists() const { return m_playlists; }
    PlaylistRecord& Main() { return m_playlists.front(); }
    const PlaylistRecord& Main() const { return m_playlists.front(); }
    PlaylistRecord* FindPlaylist(int32_t id);
    const PlaylistRecord* FindPlaylist(int32_t id) const;

    // For the readers, before Complete: room for the tracks, a track, and a playlist in file order.
    void ReserveTracks(size_t count);
    void InsertTrack(TrackRecord track);
    void InsertPlaylist(PlaylistRecord playlist);
    // Makes the model whole after reading: the master playlist first (made, named `mainName`, when
    // there is none), with every track exactly once; items naming no track dropped; serials given.
    void Complete(const std::string& mainName);

    // Adds a new track at the end of the library playlist.
    void AddTrack(TrackRecord track);
    // Puts new fields in the place of a track's.
    void ReplaceTrack(TrackRecord& track, TrackRecord fields);
    // Removes the track from the library and every playlist; the ids of the user playlists that held
    // it are appended to `playlists`.
    void EraseTrack(int32_t id, std::vector<int32_t>& playlists);
    PlaylistRecord& AddPlaylist(PlaylistRecord playlist);
    void ErasePlaylist(int32_t id);
    // Returns the new item's serial.
    uint64_t AppendItem(PlaylistRecord& playlist, int32_t trackID);
    // False when the playlist has no such item.
    bool RemoveItem(PlaylistRecord& playlist, int32_t trackID, uint64_t serial);
    // Content read again keeps the serials of `before`: the n-th occurrence of a track in a playlist
    // takes the serial of its n-th occurrence there, so that objects made before still find their item.
    void AdoptSerials(const MediaModel& before);

    // A new id for a track or a playlist, drawn at random from the positive 32-bit numbers that neither
    // uses: persistent once saved, never 0, and an id of a deleted object does not come back in practice
    // (a client that still holds it finds nothing rather than another song).
    int32_t NewID();
    uint64_t NewPersistentID();

private:
    // Playlists read without a usable id, or with one that another object has, get a new one.
    void GiveUniqueIDs();
    void IndexLocation(const TrackRecord& track);
    void UnindexLocation(const TrackRecord& track);

    std::unordered_map<int32_t, TrackRecord> m_tracks;
    // The file tracks by location; the keys are the records' own location texts.
    std::unordered_map<std::string_view, int32_t> m_fileTracks;
    bool m_fileTracksIndexed = false;
    std::vector<PlaylistRecord> m_playlists;
    std::mt19937_64 m_random;
};

// The item with the serial, or with serial 0 the track's first occurrence; null when there is none.
const PlaylistItem* FindItem(const PlaylistRecord& playlist, int32_t trackID, uint64_t serial);

} // namespace itunesapp
