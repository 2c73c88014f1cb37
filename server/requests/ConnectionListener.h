#pragma once
// Listens on two ports, the base port for requests and the next one for the scan's hello probes, with
// one accepting thread each, and serves every accepted connection on a thread of its own in a slot of
// the connection table (a connection that finds the table full is closed at once).

#include "platform/sockets/SocketHandle.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

class ConnectionSlotTable;

namespace nativesockets {
class WakeSignal;
}

class ConnectionListener {
public:
    using ServeConnection = std::function<void(const nativesockets::SocketHandle& socket)>;

    // Accepting ends when `wake` is raised.
    ConnectionListener(ConnectionSlotTable& slots, const nativesockets::WakeSignal& wake, int acceptPauseMs)
        : m_slots(slots), m_wake(wake), m_acceptPauseMs(acceptPauseMs) {}
    ConnectionListener(const ConnectionListener&) = delete;
    ConnectionListener& operator=(const ConnectionListener&) = delete;
    ~ConnectionListener() { Stop(); }

    // False when listening was started already. A port that cannot be bound sets the bind-failed flag;
    // the other one listens all the same. Without an address nothing is bound.
    bool Start(std::optional<uint32_t> address, uint16_t basePort, const ServeConnection& serve);
    // Waits for the accepting threads (the wake signal must be raised first) and closes both ports.
    void Stop();
    bool IsStarted() const { return m_started; }
    bool BindFailed() const { return m_bindFailed; }

private:
    void AcceptLoop(const nativesockets::SocketHandle& listener, const ServeConnection& serve);

    ConnectionSlotTable& m_slots;
    const nativesockets::WakeSignal& m_wake;
    int m_acceptPauseMs;
    std::array<nativesockets::SocketHandle, 2> m_listeners;
    std::array<std::thread, 2> m_threads;
    ServeConnection m_serve;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_bindFailed{false};
};
