#include "platform/sockets/TcpSockets.h"

#include "platform/sockets/WakeSignal.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nativesockets {
namespace {

sockaddr_in MakeAddress(uint32_t address, uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    socketAddress.sin_port = htons(port);
    return socketAddress;
}

SocketHandle OpenTcpSocket() {
    return SocketHandle(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

// Requests and answers are written in whole batches: waiting for an acknowledgement before the last
// small segment would only add latency.
void DisableNagle(const SocketHandle& socket) {
    const int on = 1;
    setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

IoStatus WaitFor(int fd, short events, const Deadline& deadline, const WakeSignal* wake) {
    pollfd watched[2] = {{fd, events, 0}, {wake ? wake->Fd() : -1, POLLIN, 0}};
    for (;;) {
        const int ready = poll(watched, wake ? 2 : 1, deadline.RemainingMs());
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return IoStatus::Failed;
        if (ready == 0)
            return IoStatus::TimedOut;
        if (wake && watched[1].revents != 0)
            return IoStatus::Woken;
        if (watched[0].revents & POLLNVAL)
            return IoStatus::Failed;
        return IoStatus::Done;
    }
}

bool IsTransient(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

} // namespace

SocketHandle ConnectTcp(uint32_t address, uint16_t port, const Deadline& deadline, const WakeSignal* wake) {
    SocketHandle socket = OpenTcpSocket();
    if (!socket.IsOpen())
        return socket;
    const sockaddr_in target = MakeAddress(address, port);
    if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        if (errno != EINPROGRESS || WaitFor(socket.Get(), POLLOUT, deadline, wake) != IoStatus::Done)
            return SocketHandle();
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return SocketHandle();
    }
    DisableNagle(socket);
    return socket;
}

SocketHandle ListenTcp(uint32_t address, uint16_t port) {
    SocketHandle socket = OpenTcpSocket();
    if (!socket.IsOpen())
        return socket;
    const int on = 1;
    setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in local = MakeAddress(address, port);
    if (bind(socket.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(socket.Get(), SOMAXCONN) != 0)
        return SocketHandle();
    return socket;
}

uint16_t BoundPort(const SocketHandle& socket) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

IoStatus AcceptConnection(const SocketHandle& listener, const Deadline& deadline, const WakeSignal* wake,
                          SocketHandle& accepted) {
    for (;;) {
        if (const IoStatus waited = WaitFor(listener.Get(), POLLIN, deadline, wake); waited != IoStatus::Done)
            return waited;
        const int fd = accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            accepted = SocketHandle(fd);
            DisableNagle(accepted);
            return IoStatus::Done;
        }
        // Another waiter took it, or the client gave up before we came to it.
        if (IsTransient(errno) || errno == ECONNABORTED)
            continue;
        return IoStatus::Failed;
    }
}

IoStatus WaitReadable(const SocketHandle& socket, const Deadline& deadline, const WakeSignal* wake) {
    return WaitFor(socket.Get(), POLLIN, deadline, wake);
}

IoResult ReceiveSome(const SocketHandle& socket, std::span<uint8_t> buffer, const Deadline& deadline,
                     const WakeSignal* wake) {
    for (;;) {
        const ssize_t got = recv(socket.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (got > 0)
            return {IoStatus::Done, static_cast<size_t>(got)};
        if (got == 0)
            return {IoStatus::Closed, 0};
        if (!IsTransient(errno))
            return {errno == ECONNRESET ? IoStatus::Closed : IoStatus::Failed, 0};
        if (const IoStatus waited = WaitFor(socket.Get(), POLLIN, deadline, wake); waited != IoStatus::Done)
            return {waited, 0};
    }
}

IoResult SendAll(const SocketHandle& socket, std::span<const uint8_t> bytes, int stallMs,
                 const WakeSignal* wake) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put =
            send(socket.Get(), bytes.data() + sent, bytes.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (put > 0) {
            sent += static_cast<size_t>(put);
            continue;
        }
        if (put < 0 && !IsTransient(errno))
            return {errno == EPIPE || errno == ECONNRESET ? IoStatus::Closed : IoStatus::Failed, sent};
        const IoStatus waited = WaitFor(socket.Get(), POLLOUT, Deadline::AfterMs(stallMs), wake);
        if (waited != IoStatus::Done)
            return {waited, sent};
    }
    return {IoStatus::Done, sent};
}

} // namespace nativesockets
