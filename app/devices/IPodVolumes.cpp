#include "app/devices/IPodVolumes.h"

#include "foundation/ErrorCodes.h"
#include "library/ipod/ITunesDB.h"
#include "platform/volumes/VolumeTable.h"

namespace {

constexpr size_t kMaskBits = 32;

uint32_t BitOfIndex(size_t index) {
    return index < kMaskBits ? (uint32_t{1} << index) : 0;
}

bool ReadsAsIPod(const AString& root, AString& podName) {
    ITunesDB database;
    if (database.Read(root, true) != 0)
        return false;
    database.GetPodName(podName);
    return true;
}

} // namespace

std::vector<UVolume> IPodVolumes::Find(uint32_t mask) {
    std::vector<UVolume> found;
    const std::vector<nativevolumes::Volume> volumes = nativevolumes::VolumeTable::Instance().List();
    for (size_t i = 0; i < volumes.size(); ++i) {
        const uint32_t bit = BitOfIndex(i);
        if (mask != 0 && (mask & bit) == 0)
            continue;
        UVolume volume{bit, AString::FromSystem8Bit(volumes[i].mountPoint).WithTrailingSeparator(), {}};
        if (ReadsAsIPod(volume.root, volume.podName))
            found.push_back(std::move(volume));
    }
    return found;
}

uint32_t IPodVolumes::DriveBitOf(const AString& root) {
    const std::vector<nativevolumes::Volume> volumes = nativevolumes::VolumeTable::Instance().List();
    const AString wanted = root.WithTrailingSeparator();
    for (size_t i = 0; i < volumes.size(); ++i) {
        if (AString::FromSystem8Bit(volumes[i].mountPoint).WithTrailingSeparator() == wanted)
            return BitOfIndex(i);
    }
    return 0;
}
