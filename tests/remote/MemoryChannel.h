#pragma once
// A byte channel over memory: reads give the bytes it was made with (in chunks of a chosen size, to
// try short reads), then the end of the connection; writes are kept.

#include "remote/ByteChannel.h"

#include <cstdint>
#include <vector>

class MemoryChannel : public ByteChannel {
public:
    explicit MemoryChannel(std::vector<uint8_t> incoming = {}, size_t chunk = SIZE_MAX)
        : m_incoming(std::move(incoming)), m_chunk(chunk) {}

    nativesockets::IoStatus WaitReadable(const nativesockets::Deadline& deadline) override;
    nativesockets::IoResult ReadSome(std::span<uint8_t> buffer,
                                     const nativesockets::Deadline& deadline) override;
    nativesockets::IoResult WriteAll(std::span<const uint8_t> bytes, int stallMs) override;

    std::vector<uint8_t> written;

private:
    std::vector<uint8_t> m_incoming;
    size_t m_chunk;
    size_t m_next = 0;
};
