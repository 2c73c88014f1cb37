#include "library/ipod/PodVolumes.h"

#include "library/ipod/ITunesDB.h"
#include "platform/volumes/VolumeTable.h"

namespace {

constexpr size_t kDriveBits = 32;

} // namespace

std::vector<PodVolume> FindIPodVolumes(uint32_t driveMask) {
    const std::vector<nativevolumes::Volume> volumes = nativevolumes::VolumeTable::Instance().List();
    std::vector<PodVolume> pods;
    for (size_t i = 0; i < volumes.size() && i < kDriveBits; ++i) {
        const uint32_t bit = uint32_t{1} << i;
        if (driveMask != 0 && (driveMask & bit) == 0)
            continue;
        PodVolume pod;
        pod.driveBit = bit;
        pod.root = AString::FromSystem8Bit(volumes[i].mountPoint).WithTrailingSeparator();
        // The names are enough: only the main playlist's title is wanted.
        ITunesDB database;
        if (database.Read(pod.root, true) != 0 || database.GetPodName(pod.name) != 0)
            continue;
        pods.push_back(std::move(pod));
    }
    return pods;
}

bool FindIPodVolume(const AString& name, PodVolume& found) {
    for (PodVolume& pod : FindIPodVolumes()) {
        if (pod.name == name) {
            found = std::move(pod);
            return true;
        }
    }
    return false;
}
