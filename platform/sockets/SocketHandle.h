#pragma once
// One open socket descriptor, closed when its owner goes.

#include "platform/files/FileDescriptor.h"

namespace nativesockets {

class SocketHandle {
public:
    SocketHandle() = default;
    explicit SocketHandle(int fd) : m_fd(fd) {}

    int Get() const { return m_fd.Get(); }
    bool IsOpen() const { return m_fd.IsOpen(); }
    int Release() { return m_fd.Release(); }
    void Close() { m_fd.Close(); }
    // Ends both directions: a peer or a thread waiting on the socket sees the end at once, while the
    // descriptor stays valid until Close.
    void Shutdown() const;

private:
    nativefiles::FileDescriptor m_fd;
};

} // namespace nativesockets
