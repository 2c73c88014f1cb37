#pragma once
// "mhip": one item of a playlist, naming a track by its id, with its string objects (a position object
// for the items this system adds). In memory it is bound to the track it names.

#include "library/ipod/ITunesDBChunkFrame.h"
#include "library/ipod/ITunesDBString.h"

#include <cstdint>
#include <memory>
#include <vector>

class AFile;
class ITunesDBTrack;

class ITunesDBPlayListItem {
public:
    static constexpr uint32_t kKnownLength = 32;
    static constexpr uint32_t kNewHeaderLength = 76;
    static constexpr uint32_t kStringCountOffset = 12;
    static constexpr uint32_t kGroupOffset = 20;
    static constexpr uint32_t kTrackIdOffset = 24;

    ITunesDBPlayListItem();
    // A new item bound to `track`, with a position object.
    explicit ITunesDBPlayListItem(ITunesDBTrack* track);

    int Read(AFile& stream, uint64_t parentEnd);
    // A bound item first takes the id of its track and the next group number of its playlist list.
    int Write(AFile& stream, uint32_t& groupCounter);
    uint64_t GetTotalLength() const;

    uint32_t GetTrackId() const { return m_frame.Get32(kTrackIdOffset); }
    ITunesDBTrack* GetTrack() const { return m_track; }
    void Bind(ITunesDBTrack* track) { m_track = track; }
    uint32_t GetStringCount() const { return static_cast<uint32_t>(m_strings.size()); }

private:
    ITunesDBChunkFrame m_frame;
    ITunesDBStrings m_strings;
    ITunesDBTrack* m_track = nullptr;
};
