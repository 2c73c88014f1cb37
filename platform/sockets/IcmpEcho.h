#pragma once
// The ICMP echo of the network scan: one 48-byte echo request to an address, and the wait for its
// reply. A raw socket is used when the process may open one, else the unprivileged ICMP datagram
// socket; without either, nothing is reachable. Addresses are IPv4 in host order.

#include <array>
#include <cstdint>
#include <span>

namespace nativesockets {

class WakeSignal;

class IcmpEcho {
public:
    static constexpr size_t kRequestSize = 48;
    static constexpr int kReplyWaitMs = 50;

    // Type 8, code 0, the checksum, identifier and sequence (network order), four zero bytes, the tick
    // count (network order) and the bytes 0x20 to 0x3F.
    static std::array<uint8_t, kRequestSize> BuildRequest(uint16_t identifier, uint16_t sequence,
                                                          uint32_t tick);
    // The Internet checksum (RFC 1071) as it is stored: big-endian words, a last odd byte padded.
    static uint16_t Checksum(std::span<const uint8_t> bytes);
    // Whether a received datagram is the echo reply of `source` to the request (identifier, sequence):
    // type 0, code 0, a checksum that holds, the same identifier and sequence. A raw socket hands the
    // IP header too, whose protocol and source must then agree.
    static bool IsReplyTo(std::span<const uint8_t> datagram, bool withIpHeader, uint32_t source,
                          uint16_t identifier, uint16_t sequence);

    // Whether this process may open an ICMP socket of either kind; without one no address answers.
    static bool IsAvailable();
    // Sends one echo and waits up to `waitMs` for its reply: false without one, when no ICMP socket can
    // be opened, or when `wake` is raised meanwhile. Identifiers and sequence numbers are drawn from two
    // process-wide counters that start at 1.
    static bool Ping(uint32_t address, int waitMs, const WakeSignal* wake);
};

} // namespace nativesockets
