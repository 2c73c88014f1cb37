#pragma once
// The mounted volumes, each named by its mount point and told apart by its serial number: the
// filesystem UUID of a FAT volume ("XXXX-XXXX", 8 hex digits), else 0. The folders listed in the
// environment variable ORVANTIS_EXTRA_VOLUMES (separated by ':') count as volumes without a serial
// while they exist. The volumes that can be iPods, the removable ones, carry a drive bit.

#include <cstdint>
#include <string>
#include <vector>

namespace nativevolumes {

struct Volume {
    std::string mountPoint;
    uint32_t serial = 0;
    // Mounted below /media or /run/media (where the desktop mounts removable media), or a folder of
    // ORVANTIS_EXTRA_VOLUMES.
    bool removable = false;
    // The volume's bit in a drive mask, kept while it stays mounted; 0 for a volume that is not removable.
    uint32_t driveBit = 0;
};

class VolumeTable {
public:
    virtual ~VolumeTable() = default;
    // Sorted by mount point, so that the i-th volume keeps its place between calls.
    virtual std::vector<Volume> List() const = 0;
    // False when `root` (a trailing '/' allowed) is not the mount point of a volume.
    bool Find(const std::string& root, Volume& volume) const;

    static const VolumeTable& Instance();
    // Replaces the system's table (tests); null restores it.
    static void SetInstance(const VolumeTable* table);
};

// "/media/ipod/" as "/media/ipod"; "/" stays.
std::string WithoutTrailingSlash(std::string path);

} // namespace nativevolumes
