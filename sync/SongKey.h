#pragma once
// The play data of a song as a music library keeps it, and its text form, the song key:
// "/" play count "/" last played low word "_" high word "/" rating "/" comment "/" equalizer, numbers
// in signed decimal, "*" for an empty text.

#include "foundation/AString.h"

#include <cstdint>

struct SongKey {
    // The fields a sync may copy from one library to another.
    enum Field : uint32_t {
        kComment = 1,
        kPlayCount = 2,
        kRating = 4,
        kEqualizer = 8,
        kLastPlayed = 16,
    };

    int playCount = 0;
    uint64_t lastPlayed = 0;
    int rating = 0;
    AString comment;
    AString equalizer;

    static SongKey Parse(const AString& text);
    AString Format() const;
    // What both sides know: the higher play count, the later last-played time, and for rating, comment
    // and equalizer the first side's value unless it is empty. Merging never loses play data.
    static SongKey Merge(const SongKey& side1, const SongKey& side2);
    // The fields of `mask` in which the two keys differ.
    uint32_t DifferingFields(const SongKey& other, uint32_t mask) const;
};
