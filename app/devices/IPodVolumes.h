#pragma once
// The mounted iPods: every volume whose iPod database reads, with its drive bit (bit i = the i-th
// volume of the volume table; none past the 32nd), its root and the name its database gives it.

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
    // The iPods among the volumes whose bits are set in `mask` (0: every volume).
    static std::vector<UVolume> Find(uint32_t mask);
    // The volume's bit, or 0 when the volume table holds no such root among its first 32 volumes.
    static uint32_t DriveBitOf(const AString& root);
};
