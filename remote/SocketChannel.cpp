#include "remote/SocketChannel.h"

using nativesockets::Deadline;
using nativesockets::IoResult;
using nativesockets::IoStatus;

IoStatus SocketChannel::WaitReadable(const Deadline& deadline) {
    return nativesockets::WaitReadable(m_socket, deadline, m_wake);
}

IoResult SocketChannel::ReadSome(std::span<uint8_t> buffer, const Deadline& deadline) {
    return nativesockets::ReceiveSome(m_socket, buffer, deadline, m_wake);
}

IoResult SocketChannel::WriteAll(std::span<const uint8_t> bytes, int stallMs) {
    return nativesockets::SendAll(m_socket, bytes, stallMs, m_wake);
}
