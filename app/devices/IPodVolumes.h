#pragma once
// The mounted iPods: every volume whose iPod database reads, with its drive bit (bit i = the i-th
// volume of the volume table; none past the 32nd), its root and the name its database gives it. And
// the preparation of an iPod for syncing in its "iTunesPrefs" file.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

struct UVolume {
    uint32_t driveBit = 0;
    AString root; // with its trailing separator
    AString podName;
};

class IPodVolumes {
public:
    static constexpr const char* kPrefsFile = "iPod_Control/iTunes/iTunesPrefs";
    static constexpr uint64_t kAutoUpdateOffset = 10;
    static constexpr uint64_t kSyncedOffset = 31;

    // The iPods among the volumes whose bits are set in `mask` (0: every volume).
    static std::vector<UVolume> Find(uint32_t mask);
    // The volume's bit, or 0 when the volume table holds no such root among its first 32 volumes.
    static uint32_t DriveBitOf(const AString& root);

    // Turns the iPod's own automatic update off when the program manages iPods of its family (Shuffles
    // or the others), and marks it in every case. The file is changed in place, never made or
    // lengthened: 0, or the code of the open, read or write that failed.
    static int PrepareForSync(const AString& root, bool manageIPods, bool manageShuffles);
};
