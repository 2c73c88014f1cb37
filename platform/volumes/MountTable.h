#pragma once
// The kernel's table of mounts (the text of /proc/self/mountinfo) and the serial numbers of FAT
// filesystems: what the volume table stands on.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nativevolumes {

struct MountEntry {
    std::string mountPoint; // with the table's octal escapes ("\040" for a blank) undone
    std::string source;     // the device (or other source) of the filesystem, unescaped alike

    bool operator==(const MountEntry&) const = default;
};

// One entry per line that holds the fields of a mount, in the table's order; other lines are skipped.
std::vector<MountEntry> ParseMountTable(std::string_view text);
// The serial number a FAT volume carries as its filesystem UUID "XXXX-XXXX" (8 hex digits); 0 for
// any other UUID.
uint32_t SerialOfFilesystemUuid(std::string_view uuid);

} // namespace nativevolumes
