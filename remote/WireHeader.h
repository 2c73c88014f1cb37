#pragma once
// The 38-byte header that opens every message and every piece of a split one: code, raw length,
// Base64 length and checksum as right-aligned decimal text, then the packed flag "00" or "01".

#include <cstdint>
#include <span>

struct WireHeader {
    static constexpr size_t kLength = 38;
    // Payloads (and the totals of split ones) stay below this many bytes.
    static constexpr int32_t kMaxPayload = 1000000000;

    int32_t code = 0;
    int32_t rawLength = 0; // minus the total on every piece of a split payload but the last
    int32_t base64Length = 0;
    int32_t checksum = 0; // 0 = not given
    bool packed = false;

    // The header of the end-of-connection message: every number 0, flag "00".
    static WireHeader EndOfConnection() { return WireHeader(); }

    void Write(std::span<uint8_t, kLength> out) const;
    // Every field must be decimal digits with an optional "-", right-aligned after spaces, and in range;
    // the flag "00" or "01". False for anything else.
    bool Read(std::span<const uint8_t, kLength> in);
};
