#pragma once
// "mhip": one item of a playlist, naming a track by its id, with its string objects (a position object
// for the items this system adds). It is kept as its bytes; in memory it is bound to the track it names.

#include "library/ipod/ITunesDBBytes.h"

#include <cstdint>

class AFile;
class ITunesDBInput;
class ITunesDBTrack;

class ITunesDBPlayListItem {
public:
    static constexpr uint32_t kKnownLength = 32;
    static constexpr uint32_t kNewHeaderLength = 76;
    static constexpr uint32_t kStringCountOffset = 12;
    static constexpr uint32_t kGroupOffset = 20;
    static constexpr uint32_t kTrackIdOffset = 24;

    ITunesDBPlayListItem() = default;
    // A new item bound to `track`, with a position object.
    explicit ITunesDBPlayListItem(ITunesDBTrack* track);

    int Read(ITunesDBInput& input, uint64_t parentEnd);
    // The item at `position` (from 0) of its playlist. A bound item first takes the id of its track and
    // the next group number of its playlist list; a position object carries the position.
    int Write(AFile& stream, uint32_t& groupCounter, uint32_t position) const;
    uint64_t GetTotalLength() const { return m_bytes.size(); }

    // As read or made; a bound item is written with its track's id.
    uint32_t GetTrackId() const { return m_bytes.Get32(kTrackIdOffset); }
    ITunesDBTrack* GetTrack() const { return m_track; }
    void Bind(ITunesDBTrack* track) { m_track = track; }
    uint32_t GetStringCount() const { return m_bytes.Get32(kStringCountOffset); }
    bool HasPosition() const { return m_positionOffset != 0; }

private:
    // The header, the string objects and whatever follows them, as read or made.
    ITunesDBBytes m_bytes;
    ITunesDBTrack* m_track = nullptr;
    // Where the position value of the first position object lies in the bytes; 0 without one.
    uint32_t m_positionOffset = 0;
};
