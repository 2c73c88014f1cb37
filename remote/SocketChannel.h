#pragma once
// A connected socket as a byte channel; every wait also ends when the wake signal is raised. While a
// request's cancel is watched, each wait is cut into short slices and the cancel is asked between
// them, so that a cancel ends the wait at once.

#include "foundation/CancelCallback.h"
#include "remote/ByteChannel.h"

namespace nativesockets {
class SocketHandle;
class WakeSignal;
} // namespace nativesockets

class SocketChannel : public ByteChannel {
public:
    // How long a wait goes on before the watched cancel is asked again.
    static constexpr int kCancelPollMs = 100;

    SocketChannel(const nativesockets::SocketHandle& socket, const nativesockets::WakeSignal* wake)
        : m_socket(socket), m_wake(wake) {}

    // The cancel asked during the waits of one request (null or empty: none), and a fresh account of
    // how its waits ended.
    void Watch(const CancelCallback* cancel);
    // Whether a wait since Watch ended because its time passed in silence, or because of the cancel.
    bool FellSilent() const { return m_fellSilent; }
    bool WasCancelled() const { return m_cancelled; }

    nativesockets::IoStatus WaitReadable(const nativesockets::Deadline& deadline) override;
    nativesockets::IoResult ReadSome(std::span<uint8_t> buffer,
                                     const nativesockets::Deadline& deadline) override;
    nativesockets::IoResult WriteAll(std::span<const uint8_t> bytes, int stallMs) override;

private:
    bool CancelAsked();
    // One wait, in slices while a cancel is watched.
    template <typename Wait>
    nativesockets::IoResult Sliced(const nativesockets::Deadline& deadline, Wait wait);
    nativesockets::IoResult Note(nativesockets::IoResult result);

    const nativesockets::SocketHandle& m_socket;
    const nativesockets::WakeSignal* m_wake;
    const CancelCallback* m_cancel = nullptr;
    bool m_fellSilent = false;
    bool m_cancelled = false;
};
