#pragma once
// The bytes of one connection as the message reader and writer see them: a socket in the programs,
// memory in the tests and the fuzz targets.

#include "platform/sockets/TcpSockets.h"

#include <cstdint>
#include <span>

class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    // Waits until something can be read (or the connection has ended).
    virtual nativesockets::IoStatus WaitReadable(const nativesockets::Deadline& deadline) = 0;
    // Reads what has come, at least one byte and at most `buffer.size()`, waiting until the deadline.
    virtual nativesockets::IoResult ReadSome(std::span<uint8_t> buffer,
                                             const nativesockets::Deadline& deadline) = 0;
    // Writes every byte; `stallMs` bounds each wait for the peer to take more (-1: no limit).
    virtual nativesockets::IoResult WriteAll(std::span<const uint8_t> bytes, int stallMs) = 0;
};
