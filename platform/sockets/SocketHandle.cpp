#include "platform/sockets/SocketHandle.h"

#include <sys/socket.h>
#include <unistd.h>

namespace nativesockets {

SocketHandle& SocketHandle::operator=(SocketHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = other.Release();
    }
    return *this;
}

int SocketHandle::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void SocketHandle::Close() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

void SocketHandle::Shutdown() const {
    if (m_fd >= 0)
        shutdown(m_fd, SHUT_RDWR);
}

} // namespace nativesockets
