#pragma once
// The mounted iPods: the volumes of the volume table whose iPod database can be read, each with the
// iPod's name as its database gives it.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

struct PodVolume {
    uint32_t driveBit = 0; // 1 shifted by the volume's place in the volume table
    AString root;          // the mount point, ending in the path separator
    AString name;          // the name of the iPod's main playlist
};

// In the volume table's order; with a mask, only the volumes whose bits it sets.
std::vector<PodVolume> FindIPodVolumes(uint32_t driveMask = 0);
// The first mounted iPod of that name (exactly), or none.
bool FindIPodVolume(const AString& name, PodVolume& found);
