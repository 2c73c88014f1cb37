#pragma once
// The play data of a song as it travels between song lists and over the remote link, in its song key:
// "/" played count "/" played time low 32 bits "_" high 32 bits "/" rating "/" comment "/" equalizer,
// numbers in signed decimal, "*" for an empty text. A missing or empty key carries no play data.

#include "foundation/AString.h"

#include <cstdint>

struct ITunesPlayData {
    int playedCount = 0;
    uint64_t playedTime = 0; // seconds since 1904; 0 = never played
    int rating = 0;
    AString comment;
    AString equalizer;

    static ITunesPlayData FromKey(const AString& key);
    // The comment is cleaned of the characters a file name may not hold, so that it cannot break the key.
    AString ToKey() const;
};

// Which values of the play data a track takes. A played time of 0 and an empty text are never written:
// they stand for "leave as it is".
struct ITunesPlayDataFields {
    bool comment = false;
    bool playedCount = false;
    bool rating = false;
    bool equalizer = false;
    bool playedDate = false;
};
