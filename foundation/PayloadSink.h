#pragma once
// Where a received payload goes as its pieces arrive. The reader hands over each piece once it is
// decoded, before the checksum of the whole is known: a sink commits nothing until the message is
// known to be whole.

#include <cstddef>
#include <cstdint>
#include <span>

class PayloadSink {
public:
    virtual ~PayloadSink() = default;
    // The length the payload will have, before its first bytes. Never a reason to allocate: the
    // bytes may never come.
    virtual void Begin(size_t total) = 0;
    // The next bytes of the payload: 0, or a code that ends the message.
    virtual int Append(std::span<const uint8_t> bytes) = 0;
};
