#pragma once
// A connected socket as a byte channel; every wait also ends when the wake signal is raised.

#include "remote/ByteChannel.h"

namespace nativesockets {
class SocketHandle;
class WakeSignal;
} // namespace nativesockets

class SocketChannel : public ByteChannel {
public:
    SocketChannel(const nativesockets::SocketHandle& socket, const nativesockets::WakeSignal* wake)
        : m_socket(socket), m_wake(wake) {}

    nativesockets::IoStatus WaitReadable(const nativesockets::Deadline& deadline) override;
    nativesockets::IoResult ReadSome(std::span<uint8_t> buffer,
                                     const nativesockets::Deadline& deadline) override;
    nativesockets::IoResult WriteAll(std::span<const uint8_t> bytes, int stallMs) override;

private:
    const nativesockets::SocketHandle& m_socket;
    const nativesockets::WakeSignal* m_wake;
};
