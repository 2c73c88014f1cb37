#pragma once
// "mhlt": the tracks of the data set of type 1, in the order they were read and added, and in 100
// buckets by title checksum (each bucket in that order too).

#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBTrack.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AFile;
class ITunesDBInput;
struct ITunesDBReadContext;

class ITunesDBTrackList {
public:
    static constexpr int kBucketCount = 100;
    static constexpr uint32_t kKnownLength = 12;
    static constexpr uint32_t kNewHeaderLength = 92;
    static constexpr uint32_t kCountOffset = 8;

    ITunesDBTrackList();

    int Read(ITunesDBInput& input, uint64_t parentEnd, const ITunesDBReadContext& context);
    // Tracks in the order they were read and added: the iPod's own files (play counts, playlists made
    // on the device) name tracks by their place in the database, so a save must not reorder them.
    int Write(AFile& stream) const;
    uint64_t GetTotalLength() const;

    int GetCount() const { return static_cast<int>(m_tracks.size()); }
    const std::vector<ITunesDBTrack*>& GetBucket(uint32_t checksum) const {
        return m_buckets[checksum % kBucketCount];
    }
    // Every track in the order in which they are written.
    void ForEachTrack(const std::function<void(ITunesDBTrack&)>& visit) const;
    ITunesDBTrack* FindByHandle(uint64_t handle) const;

    ITunesDBTrack* Add(std::unique_ptr<ITunesDBTrack> track);
    void Remove(const ITunesDBTrack* track);
    // Retitles a track of the list; it moves to the bucket of its new title.
    void SetTitle(ITunesDBTrack& track, const AString& title);
    // Ids 1 to N in the order they are written.
    void Renumber();

private:
    void Clear();

    ITunesDBChunkFrame m_frame;
    // Ordered by handle, which grows in the order tracks are read and added.
    std::vector<std::unique_ptr<ITunesDBTrack>> m_tracks;
    std::array<std::vector<ITunesDBTrack*>, kBucketCount> m_buckets;
};
