#include "platform/volumes/VolumeTable.h"

#include "platform/volumes/MountedVolumeTable.h"

namespace nativevolumes {
namespace {

// The table that tests put in place of the system's, or null.
const VolumeTable* g_table = nullptr;

const VolumeTable& SystemTable() {
    static const MountedVolumeTable table;
    return table;
}

} // namespace

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool VolumeTable::Find(const std::string& root, Volume& volume) const {
    const std::string mountPoint = WithoutTrailingSlash(root);
    if (mountPoint.empty())
        return false;
    for (const Volume& candidate : List()) {
        if (candidate.mountPoint == mountPoint) {
            volume = candidate;
            return true;
        }
    }
    return false;
}

const VolumeTable& VolumeTable::Instance() {
    return g_table ? *g_table : SystemTable();
}

void VolumeTable::SetInstance(const VolumeTable* table) {
    g_table = table;
}

} // namespace nativevolumes
