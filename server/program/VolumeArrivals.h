#pragma once
// Which volumes arrived since the last look at the volume table, and which of them count as removable
// volumes with a label: those mounted below /media or /run/media (where the desktop mounts removable
// media, labelled by their folder) and the folders of ORVANTIS_EXTRA_VOLUMES while they exist. The
// first look only learns what is there.

#include "platform/volumes/VolumeTable.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct ArrivedVolume {
    uint32_t driveBit = 0; // bit i: the i-th volume of the table; none past the 32nd
    std::string root;
};

class VolumeArrivals {
public:
    // The removable, labelled volumes of `volumes` that were not there at the last look.
    std::vector<ArrivedVolume> Look(const std::vector<nativevolumes::Volume>& volumes);
    static bool IsRemovableWithLabel(const std::string& mountPoint);

private:
    bool m_looked = false;
    std::set<std::string> m_known;
};
