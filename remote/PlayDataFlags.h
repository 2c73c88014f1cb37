#pragma once
// The five flags of the play-data update (1012) in their order on the wire: play count, played date,
// rating, comment, equalizer; each a byte, 1 for a field to write.

#include "library/itunes/ITunesPlayData.h"

#include <array>
#include <cstdint>

class PlayDataFlags {
public:
    static constexpr size_t kCount = 5;
    using Bytes = std::array<uint8_t, kCount>;

    static Bytes Write(const ITunesPlayDataFields& fields);
    static ITunesPlayDataFields Read(const Bytes& flags);
};
