#include "platform/sockets/IcmpEcho.h"

#include "platform/sockets/Deadline.h"
#include "platform/sockets/SocketHandle.h"
#include "platform/sockets/TcpSockets.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace nativesockets {
namespace {

constexpr uint8_t kEchoReplyType = 0;
constexpr uint8_t kEchoRequestType = 8;
constexpr size_t kTypeOffset = 0;
constexpr size_t kCodeOffset = 1;
constexpr size_t kChecksumOffset = 2;
constexpr size_t kIdentifierOffset = 4;
constexpr size_t kSequenceOffset = 6;
constexpr size_t kTickOffset = 12;
constexpr size_t kPatternOffset = 16;
constexpr uint8_t kPatternFirstByte = 0x20;
constexpr size_t kEchoHeaderSize = 8;

constexpr size_t kIpHeaderMinimum = 20;
constexpr size_t kIpProtocolOffset = 9;
constexpr size_t kIpSourceOffset = 12;
constexpr uint8_t kIpVersion4 = 4;
constexpr int kIpVersionShift = 4;
constexpr uint8_t kIpHeaderWordsMask = 0x0F; // the header's length in 32-bit words
constexpr size_t kIpHeaderWordSize = 4;
// An echo reply carries our 48 bytes back behind an IP header of at most 60.
constexpr size_t kDatagramBufferSize = 512;

uint16_t LoadBE16At(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

uint32_t LoadBE32At(std::span<const uint8_t> bytes, size_t offset) {
    return (uint32_t(LoadBE16At(bytes, offset)) << 16) | LoadBE16At(bytes, offset + 2);
}

void StoreBE16At(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<uint8_t>(value);
}

// The ICMP message of a raw socket's datagram (behind its IP header), when the header is whole, says
// ICMP and names the expected source.
std::span<const uint8_t> IcmpPart(std::span<const uint8_t> datagram, uint32_t source) {
    if (datagram.size() < kIpHeaderMinimum || (datagram[0] >> kIpVersionShift) != kIpVersion4)
        return {};
    const size_t headerLength = size_t(datagram[0] & kIpHeaderWordsMask) * kIpHeaderWordSize;
    if (headerLength < kIpHeaderMinimum || headerLength > datagram.size() ||
        datagram[kIpProtocolOffset] != IPPROTO_ICMP || LoadBE32At(datagram, kIpSourceOffset) != source)
        return {};
    return datagram.subspan(headerLength);
}

struct EchoSocket {
    SocketHandle socket;
    bool raw = false;
};

// A raw socket hears every ICMP message of the host: let the kernel pass echo replies only.
void PassEchoRepliesOnly(const SocketHandle& socket) {
    icmp_filter filter{};
    filter.data = ~(1u << ICMP_ECHOREPLY);
    setsockopt(socket.Get(), SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
}

EchoSocket OpenEchoSocket() {
    EchoSocket echo{SocketHandle(socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP)), true};
    if (echo.socket.IsOpen()) {
        PassEchoRepliesOnly(echo.socket);
        return echo;
    }
    return {SocketHandle(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP)), false};
}

// A datagram socket's echoes carry the identifier the kernel gave the socket, whatever we wrote.
uint16_t KernelIdentifier(const SocketHandle& socket) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint16_t NextCount(std::atomic<uint16_t>& counter) {
    uint16_t count = counter.fetch_add(1);
    return count != 0 ? count : counter.fetch_add(1);
}

bool AwaitReply(const EchoSocket& echo, uint32_t address, uint16_t identifier, uint16_t sequence,
                const Deadline& deadline, const WakeSignal* wake) {
    uint8_t buffer[kDatagramBufferSize];
    for (;;) {
        if (WaitReadable(echo.socket, deadline, wake) != IoStatus::Done)
            return false;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t got = recvfrom(echo.socket.Get(), buffer, sizeof buffer, MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (got < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (got > 0 && ntohl(from.sin_addr.s_addr) == address &&
            IcmpEcho::IsReplyTo(std::span(buffer, static_cast<size_t>(got)), echo.raw, address, identifier,
                                sequence))
            return true;
    }
}

} // namespace

uint16_t IcmpEcho::Checksum(std::span<const uint8_t> bytes) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        sum += LoadBE16At(bytes, i);
    if (bytes.size() % 2 != 0)
        sum += uint32_t(bytes.back()) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

std::array<uint8_t, IcmpEcho::kRequestSize> IcmpEcho::BuildRequest(uint16_t identifier, uint16_t sequence,
                                                                   uint32_t tick) {
    std::array<uint8_t, kRequestSize> request{};
    request[kTypeOffset] = kEchoRequestType;
    request[kCodeOffset] = 0;
    StoreBE16At(request, kIdentifierOffset, identifier);
    StoreBE16At(request, kSequenceOffset, sequence);
    StoreBE16At(request, kTickOffset, static_cast<uint16_t>(tick >> 16));
    StoreBE16At(request, kTickOffset + 2, static_cast<uint16_t>(tick));
    for (size_t i = kPatternOffset; i < kRequestSize; ++i)
        request[i] = static_cast<uint8_t>(kPatternFirstByte + (i - kPatternOffset));
    StoreBE16At(request, kChecksumOffset, Checksum(request));
    return request;
}

bool IcmpEcho::IsReplyTo(std::span<const uint8_t> datagram, bool withIpHeader, uint32_t source,
                         uint16_t identifier, uint16_t sequence) {
    const std::span<const uint8_t> message = withIpHeader ? IcmpPart(datagram, source) : datagram;
    if (message.size() < kEchoHeaderSize)
        return false;
    return message[kTypeOffset] == kEchoReplyType && message[kCodeOffset] == 0 && Checksum(message) == 0 &&
           LoadBE16At(message, kIdentifierOffset) == identifier && LoadBE16At(message, kSequenceOffset) == sequence;
}

bool IcmpEcho::IsAvailable() {
    return OpenEchoSocket().socket.IsOpen();
}

bool IcmpEcho::Ping(uint32_t address, int waitMs, const WakeSignal* wake) {
    static std::atomic<uint16_t> identifiers{1};
    static std::atomic<uint16_t> sequences{1};
    const EchoSocket echo = OpenEchoSocket();
    if (!echo.socket.IsOpen())
        return false;
    const uint16_t sequence = NextCount(sequences);
    uint16_t identifier = NextCount(identifiers);
    const auto request = BuildRequest(identifier, sequence, TickCount());
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(address);
    if (sendto(echo.socket.Get(), request.data(), request.size(), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&target), sizeof target) != static_cast<ssize_t>(request.size()))
        return false;
    if (!echo.raw)
        identifier = KernelIdentifier(echo.socket);
    return AwaitReply(echo, address, identifier, sequence, Deadline::AfterMs(waitMs), wake);
}

} // namespace nativesockets
