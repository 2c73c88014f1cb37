#pragma once
// One open socket descriptor, closed when its owner goes.

namespace nativesockets {

class SocketHandle {
public:
    SocketHandle() = default;
    explicit SocketHandle(int fd) : m_fd(fd) {}
    SocketHandle(SocketHandle&& other) noexcept : m_fd(other.Release()) {}
    SocketHandle& operator=(SocketHandle&& other) noexcept;
    SocketHandle(const SocketHandle&) = delete;
    SocketHandle& operator=(const SocketHandle&) = delete;
    ~SocketHandle() { Close(); }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    int Release();
    void Close();
    // Ends both directions: a peer or a thread waiting on the socket sees the end at once, while the
    // descriptor stays valid until Close.
    void Shutdown() const;

private:
    int m_fd = -1;
};

} // namespace nativesockets
