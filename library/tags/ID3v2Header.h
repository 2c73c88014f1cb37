#pragma once
// The 10-byte header in front of an ID3v2 tag, and the synchsafe numbers (7 bits a byte) it and the
// ID3v2.4 frames use.

#include <cstdint>

class ID3v2Header {
public:
    static constexpr uint32_t kLength = 10;
    static constexpr uint32_t kFooterLength = 10;
    static constexpr uint32_t kMaxSynchsafe = 0x0FFFFFFF;

    enum Flag : uint8_t {
        kUnsynchronisation = 0x80,
        kExtendedHeader = 0x40, // ID3v2.2: compression
        kFooter = 0x10,         // ID3v2.4 only
    };

    static bool IsSynchsafe(const uint8_t* bytes);
    // High bits that do not belong are ignored.
    static uint32_t ReadSynchsafe32(const uint8_t* bytes);
    // `value` must not exceed kMaxSynchsafe.
    static void WriteSynchsafe32(uint8_t* bytes, uint32_t value);

    // Takes the bytes when they begin with "ID3".
    bool Parse(const uint8_t* bytes);
    // The same header with another body size; its footer form starts with "3DI".
    void Store(uint8_t* bytes) const;
    void StoreFooter(uint8_t* bytes) const;

    uint8_t version = 0;
    uint8_t revision = 0;
    uint8_t flags = 0;
    uint32_t bodySize = 0;

    bool Has(Flag flag) const { return (flags & flag) != 0; }
};
