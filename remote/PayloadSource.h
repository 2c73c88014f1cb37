#pragma once
// An answer's payload read as it is sent, for an answer too large to hold whole in memory (a part of a
// file). Every piece's header carries the checksum of the whole, so it is known before the first byte.

#include <cstddef>
#include <cstdint>
#include <span>

class PayloadSource {
public:
    virtual ~PayloadSource() = default;
    // Below WireHeader::kMaxPayload.
    virtual size_t Size() const = 0;
    virtual uint16_t Checksum() const = 0;
    // Fills the whole buffer with the next bytes: 0, or a code that ends the message.
    virtual int Read(std::span<uint8_t> buffer) = 0;
};
