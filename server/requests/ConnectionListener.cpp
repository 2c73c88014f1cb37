#include "server/requests/ConnectionListener.h"

#include "platform/sockets/TcpSockets.h"
#include "platform/sockets/WakeSignal.h"
#include "remote/ConnectionSlotTable.h"

#include <cstdint>

using nativesockets::IoStatus;
using nativesockets::SocketHandle;

bool ConnectionListener::Start(std::optional<uint32_t> address, uint16_t basePort,
                               const ServeConnection& serve) {
    if (m_started)
        return false;
    m_serve = serve;
    m_bindFailed = false;
    for (size_t i = 0; i < m_listeners.size(); ++i) {
        const uint32_t port = basePort + static_cast<uint32_t>(i);
        if (address && port <= UINT16_MAX)
            m_listeners[i] = nativesockets::ListenTcp(*address, static_cast<uint16_t>(port));
        if (!m_listeners[i].IsOpen()) {
            m_bindFailed = true;
            continue;
        }
        m_threads[i] = std::thread([this, i] { AcceptLoop(m_listeners[i], m_serve); });
    }
    m_started = true;
    return true;
}

void ConnectionListener::Stop() {
    for (std::thread& thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
    for (SocketHandle& listener : m_listeners)
        listener.Close();
    m_started = false;
}

void ConnectionListener::AcceptLoop(const SocketHandle& listener, const ServeConnection& serve) {
    for (;;) {
        SocketHandle accepted;
        const IoStatus status =
            nativesockets::AcceptConnection(listener, nativesockets::Deadline::Never(), &m_wake, accepted);
        if (status == IoStatus::Woken)
            return;
        if (status != IoStatus::Done) {
            // Out of descriptors or memory, perhaps: try again after a pause rather than spin.
            if (m_wake.WaitMs(m_acceptPauseMs))
                return;
            continue;
        }
        m_slots.Start(std::move(accepted), serve);
    }
}
