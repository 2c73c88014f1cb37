#pragma once
// TCP over POSIX sockets. Every wait is a poll() on the socket and on a wake signal, bounded by a
// deadline; no call raises SIGPIPE. Addresses are IPv4 in host order.

#include "platform/sockets/Deadline.h"
#include "platform/sockets/SocketHandle.h"

#include <cstdint>
#include <span>

namespace nativesockets {

class WakeSignal;

enum class IoStatus {
    Done,     // the call did what it was asked (a read: at least one byte)
    Closed,   // the peer ended the connection
    TimedOut, // the deadline passed first
    Woken,    // the wake signal was raised
    Failed,   // the operating system refused
};

struct IoResult {
    IoStatus status = IoStatus::Failed;
    size_t count = 0; // bytes moved
};

// Connects within the deadline; an unopened handle on any failure.
SocketHandle ConnectTcp(uint32_t address, uint16_t port, const Deadline& deadline, const WakeSignal* wake);

// A listening socket on the address and port (SO_REUSEADDR, the largest backlog), or an unopened handle
// when the port cannot be bound.
SocketHandle ListenTcp(uint32_t address, uint16_t port);
// The port a listening socket is bound to.
uint16_t BoundPort(const SocketHandle& socket);
// Waits for the next connection: Done with `accepted` set, or why not.
IoStatus AcceptConnection(const SocketHandle& listener, const Deadline& deadline, const WakeSignal* wake,
                          SocketHandle& accepted);

// Waits until the socket has something to read (or has ended).
IoStatus WaitReadable(const SocketHandle& socket, const Deadline& deadline, const WakeSignal* wake);
// Reads what has come, at most `buffer.size()` bytes, waiting until the deadline for the first one.
IoResult ReceiveSome(const SocketHandle& socket, std::span<uint8_t> buffer, const Deadline& deadline,
                     const WakeSignal* wake);
// Sends every byte. `stallMs` bounds each wait for the peer to take more (-1: no limit).
IoResult SendAll(const SocketHandle& socket, std::span<const uint8_t> bytes, int stallMs,
                 const WakeSignal* wake);

} // namespace nativesockets
