#include "platform/volumes/DriveBits.h"

namespace nativevolumes {
namespace {

constexpr uint32_t kHashOffset = 2166136261u;
constexpr uint32_t kHashPrime = 16777619u;

} // namespace

uint32_t DriveBits::PreferredNumber(const std::string& mountPoint) {
    uint32_t hash = kHashOffset;
    for (const char c : mountPoint)
        hash = (hash ^ static_cast<unsigned char>(c)) * kHashPrime;
    return hash % kBitCount;
}

void DriveBits::Assign(std::vector<Volume>& volumes) {
    std::lock_guard lock(m_lock);
    std::map<std::string, uint32_t> kept;
    uint32_t taken = 0;
    for (const Volume& volume : volumes) {
        const auto known = m_numbers.find(volume.mountPoint);
        if (volume.removable && known != m_numbers.end()) {
            kept.insert(*known);
            taken |= uint32_t{1} << known->second;
        }
    }
    for (Volume& volume : volumes) {
        volume.driveBit = 0;
        if (!volume.removable)
            continue;
        auto number = kept.find(volume.mountPoint);
        if (number == kept.end()) {
            if (taken == ~uint32_t{0})
                continue;
            uint32_t free = PreferredNumber(volume.mountPoint);
            while (taken & (uint32_t{1} << free))
                free = (free + 1) % kBitCount;
            taken |= uint32_t{1} << free;
            number = kept.emplace(volume.mountPoint, free).first;
        }
        volume.driveBit = uint32_t{1} << number->second;
    }
    m_numbers = std::move(kept);
}

} // namespace nativevolumes
