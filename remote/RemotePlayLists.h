#pragma once
// The playlists of a served library as the playlist request (1004) answers them: u32 count, then per
// playlist 400 bytes of its name in UTF-16LE, NUL-padded, and a u32 that is 0 for a user playlist and
// 1 for any other kind. The first entry is the library playlist.

#include "foundation/AString.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct RemotePlayList {
    enum Kind : uint32_t { kUser = 0, kOther = 1 };

    AString name;
    uint32_t kind = kUser;
};

class RemotePlayLists {
public:
    static constexpr size_t kNameBytes = 400;
    static constexpr size_t kEntrySize = kNameBytes + 4;
    // A name keeps room for its terminator.
    static constexpr int kMaxNameLength = kNameBytes / 2 - 1;

    // Longer names are cut to kMaxNameLength units.
    static std::vector<uint8_t> Write(const std::vector<RemotePlayList>& playLists);
    // Nothing when the answer is short of what its count announces, or a kind is neither 0 nor 1.
    static std::optional<std::vector<RemotePlayList>> Read(std::span<const uint8_t> answer);
};
