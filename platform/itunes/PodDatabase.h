#pragma once
// How the stand-in reads and changes the database of a mounted iPod. The library layer implements it
// over its own iTunesDB code and hands an opener to the stand-in at start-up (ITunesInstance::Install);
// tests use a fake. Every call answers 0 or a negative code.

#include "platform/itunes/SongFields.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace itunesapp {

struct PodTrack {
    int32_t id = 0; // positive, kept by the database for the track's life
    SongFields fields;
    std::string pathOnPod; // native, below the mount point: "iPod_Control/Music/F03/ABCD.mp3"
    uint64_t size = 0;
    int64_t modifiedUnix = 0;
    uint32_t playedCount = 0;
    int64_t playedUnix = 0; // 0 = never played
    uint32_t rating = 0;    // 0 to 100
};

struct PodPlayList {
    uint64_t id = 0; // the playlist's persistent id
    std::u16string name;
    bool master = false; // the iPod's main playlist, named as the iPod; it holds every track
    std::vector<int32_t> trackIDs;
};

struct PodContent {
    std::vector<PodTrack> tracks;
    std::vector<PodPlayList> playLists;
};

class PodDatabase {
public:
    virtual ~PodDatabase() = default;

    virtual int Read(PodContent& content) = 0;
    // The song file is already in place at `track.pathOnPod`; sets `track.id`. The master playlist gets
    // the track too.
    virtual int AddTrack(PodTrack& track) = 0;
    // The fields, path and play data of the track with `track.id`.
    virtual int UpdateTrack(const PodTrack& track) = 0;
    // Removes the track and every playlist item of it; its file is the caller's.
    virtual int RemoveTrack(int32_t id) = 0;
    virtual int CreatePlayList(const std::u16string& name, uint64_t& id) = 0;
    virtual int RenamePlayList(uint64_t id, const std::u16string& name) = 0;
    virtual int DeletePlayList(uint64_t id) = 0;
    virtual int SetPlayListTracks(uint64_t id, const std::vector<int32_t>& trackIDs) = 0;
    // Writes every change above to the drive; until then the drive holds the database as it was.
    virtual int Save() = 0;
};

// Opens the database of the iPod mounted at `mountPoint`; null when it cannot be read.
using PodDatabaseOpener = std::function<std::unique_ptr<PodDatabase>(const std::string& mountPoint)>;

} // namespace itunesapp
