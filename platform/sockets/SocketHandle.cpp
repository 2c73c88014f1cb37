#include "platform/sockets/SocketHandle.h"

#include <sys/socket.h>

namespace nativesockets {

void SocketHandle::Shutdown() const {
    if (m_fd.IsOpen())
        shutdown(m_fd.Get(), SHUT_RDWR);
}

} // namespace nativesockets
