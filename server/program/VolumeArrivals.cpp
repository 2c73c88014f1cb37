#include "server/program/VolumeArrivals.h"

namespace {

std::string FolderName(const std::string& mountPoint) {
    return mountPoint.substr(mountPoint.find_last_of('/') + 1);
}

} // namespace

bool VolumeArrivals::IsRemovableWithLabel(const nativevolumes::Volume& volume) {
    return volume.removable && !FolderName(nativevolumes::WithoutTrailingSlash(volume.mountPoint)).empty();
}

std::vector<ArrivedVolume> VolumeArrivals::Look(const std::vector<nativevolumes::Volume>& volumes) {
    std::vector<ArrivedVolume> arrived;
    std::set<std::string> now;
    for (const nativevolumes::Volume& volume : volumes) {
        if (!IsRemovableWithLabel(volume))
            continue;
        const std::string root = nativevolumes::WithoutTrailingSlash(volume.mountPoint);
        now.insert(root);
        if (m_looked && !m_known.count(root))
            arrived.push_back({volume.driveBit, root});
    }
    m_known = std::move(now);
    m_looked = true;
    return arrived;
}
