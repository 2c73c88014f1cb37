#pragma once
// The drive bits of the volumes that can be iPods (the removable ones): bit i of a drive mask names the
// volume numbered i. A volume keeps its number for as long as it stays mounted, whatever else comes
// and goes. A volume first seen takes the number its mount point hashes to, or the next free one, so
// that two programs that look at the same volumes number them alike.

#include "platform/volumes/VolumeTable.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace nativevolumes {

class DriveBits {
public:
    static constexpr uint32_t kBitCount = 32;

    // Numbers the removable volumes of `volumes` (a volume past the 32nd gets none); the others get 0.
    // Safe to call from any thread.
    void Assign(std::vector<Volume>& volumes);

    // The number a mount point asks for first.
    static uint32_t PreferredNumber(const std::string& mountPoint);

private:
    std::mutex m_lock;
    // The numbers of the removable volumes at the last call, by mount point.
    std::map<std::string, uint32_t> m_numbers;
};

} // namespace nativevolumes
