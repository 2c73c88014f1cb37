#include "library/ipod/PodVolumes.h"

#include "library/ipod/ITunesDB.h"
#include "platform/volumes/VolumeTable.h"

std::vector<PodVolume> FindIPodVolumes(uint32_t driveMask) {
    std::vector<PodVolume> pods;
    for (const nativevolumes::Volume& volume : nativevolumes::VolumeTable::Instance().List()) {
        if (driveMask != 0 && (driveMask & volume.driveBit) == 0)
            continue;
        PodVolume pod;
        pod.driveBit = volume.driveBit;
        pod.root = AString::FromSystem8Bit(volume.mountPoint).WithTrailingSeparator();
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

uint32_t DriveBitOfVolume(const AString& root) {
    nativevolumes::Volume volume;
    return nativevolumes::VolumeTable::Instance().Find(root.ToSystem8Bit(), volume) ? volume.driveBit : 0;
}
