#pragma once
// The mounted iPods: the volumes of the volume table whose iPod database can be read, each with the
// iPod's name as its database gives it and its drive bit (removable volumes only: see VolumeTable).

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

struct PodVolume {
    uint32_t driveBit = 0; // the volume's bit in a drive mask; 0 for a volume that is not removable
    AString root;          // the mount point, ending in the path separator
    AString name;          // the name of the iPod's main playlist
};

// In the volume table's order: every iPod, or with a mask only those on the volumes whose bits it sets.
std::vector<PodVolume> FindIPodVolumes(uint32_t driveMask = 0);
// The first mounted iPod of that name (exactly), or none.
bool FindIPodVolume(const AString& name, PodVolume& found);
// The drive bit of the volume mounted at `root` (a trailing separator allowed); 0 when there is none.
uint32_t DriveBitOfVolume(const AString& root);
