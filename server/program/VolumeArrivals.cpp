#include "server/program/VolumeArrivals.h"

#include <cstdlib>
#include <sstream>
#include <sys/stat.h>

namespace {

constexpr size_t kMaskBits = 32;
constexpr const char* kRemovableMediaFolders[] = {"/media/", "/run/media/"};

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsExtraVolume(const std::string& mountPoint) {
    const char* list = std::getenv("ORVANTIS_EXTRA_VOLUMES");
    std::istringstream entries(list ? list : "");
    std::string entry;
    while (std::getline(entries, entry, ':')) {
        if (!entry.empty() && nativevolumes::WithoutTrailingSlash(entry) == mountPoint)
            return true;
    }
    return false;
}

std::string FolderName(const std::string& mountPoint) {
    return mountPoint.substr(mountPoint.find_last_of('/') + 1);
}

} // namespace

bool VolumeArrivals::IsRemovableWithLabel(const std::string& mountPoint) {
    const std::string root = nativevolumes::WithoutTrailingSlash(mountPoint);
    if (FolderName(root).empty() || !IsFolder(root))
        return false;
    for (const char* media : kRemovableMediaFolders) {
        if (root.starts_with(media))
            return true;
    }
    return IsExtraVolume(root);
}

std::vector<ArrivedVolume> VolumeArrivals::Look(const std::vector<nativevolumes::Volume>& volumes) {
    std::vector<ArrivedVolume> arrived;
    std::set<std::string> now;
    for (size_t i = 0; i < volumes.size(); ++i) {
        const std::string root = nativevolumes::WithoutTrailingSlash(volumes[i].mountPoint);
        if (!IsRemovableWithLabel(root))
            continue;
        now.insert(root);
        if (m_looked && !m_known.count(root) && i < kMaskBits)
            arrived.push_back({uint32_t{1} << i, root});
    }
    m_known = std::move(now);
    m_looked = true;
    return arrived;
}
