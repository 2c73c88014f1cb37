#include "library/tags/ID3v2Header.h"

#include <cstring>

namespace {

constexpr char kTagId[] = "ID3";
constexpr char kFooterId[] = "3DI";
constexpr size_t kIdLength = 3;

} // namespace

bool ID3v2Header::IsSynchsafe(const uint8_t* bytes) {
    return ((bytes[0] | bytes[1] | bytes[2] | bytes[3]) & 0x80) == 0;
}

uint32_t ID3v2Header::ReadSynchsafe32(const uint8_t* bytes) {
    return (uint32_t(bytes[0] & 0x7F) << 21) | (uint32_t(bytes[1] & 0x7F) << 14) |
           (uint32_t(bytes[2] & 0x7F) << 7) | uint32_t(bytes[3] & 0x7F);
}

void ID3v2Header::WriteSynchsafe32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>((value >> (7 * (3 - i))) & 0x7F);
}

bool ID3v2Header::Parse(const uint8_t* bytes) {
    if (std::memcmp(bytes, kTagId, kIdLength) != 0)
        return false;
    version = bytes[3];
    revision = bytes[4];
    flags = bytes[5];
    bodySize = ReadSynchsafe32(bytes + 6);
    return true;
}

void ID3v2Header::Store(uint8_t* bytes) const {
    std::memcpy(bytes, kTagId, kIdLength);
    bytes[3] = version;
    bytes[4] = revision;
    bytes[5] = flags;
    WriteSynchsafe32(bytes + 6, bodySize);
}

void ID3v2Header::StoreFooter(uint8_t* bytes) const {
    Store(bytes);
    std::memcpy(bytes, kFooterId, kIdLength);
}
