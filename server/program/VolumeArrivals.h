#pragma once
// Which volumes arrived since the last look at the volume table, and which of them count as removable
// volumes with a label: the removable volumes of the table (mounted below /media or /run/media, where
// the desktop mounts removable media labelled by their folder, and the folders of
// ORVANTIS_EXTRA_VOLUMES while they exist) whose folder has a name. The first look only learns what is
// there. Each arrival carries the volume's drive bit, the number of the "-ar" mask handed to the main
// program.

#include "platform/volumes/VolumeTable.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct ArrivedVolume {
    uint32_t driveBit = 0; // none when more than 32 removable volumes are mounted
    std::string root;
};

class VolumeArrivals {
public:
    // The removable, labelled volumes of `volumes` that were not there at the last look.
    std::vector<ArrivedVolume> Look(const std::vector<nativevolumes::Volume>& volumes);
    static bool IsRemovableWithLabel(const nativevolumes::Volume& volume);

private:
    bool m_looked = false;
    std::set<std::string> m_known;
};
