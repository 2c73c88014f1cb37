#pragma once
// The volumes the kernel has mounted, with the serial numbers of their filesystems, and the folders
// of ORVANTIS_EXTRA_VOLUMES that exist; the removable ones numbered for drive masks, each table keeping
// its own numbers. The files it reads can be named, so that tests give it tables of their own.

#include "platform/volumes/DriveBits.h"
#include "platform/volumes/VolumeTable.h"

#include <string>

namespace nativevolumes {

class MountedVolumeTable : public VolumeTable {
public:
    static constexpr const char* kSystemMountTable = "/proc/self/mountinfo";
    static constexpr const char* kSystemUuidFolder = "/dev/disk/by-uuid";

    // `uuidFolder` holds one link per filesystem UUID to the filesystem's device.
    explicit MountedVolumeTable(std::string mountTable = kSystemMountTable,
                                std::string uuidFolder = kSystemUuidFolder);
    std::vector<Volume> List() const override;

    // Below these folders the desktop mounts removable media.
    static bool IsRemovableMediaPlace(const std::string& mountPoint);

private:
    std::string m_mountTable;
    std::string m_uuidFolder;
    mutable DriveBits m_driveBits;
};

} // namespace nativevolumes
