#pragma once
// The server program's socket object: it listens for the requests of remote main programs and
// answers each through its dispatcher.

#include "remote/CASockets.h"
#include "server/requests/ConnectionListener.h"
#include "server/requests/RequestDispatcher.h"
#include "server/requests/ServerTimeouts.h"

#include <mutex>

class AProgress;

class ASyncWSocksServer : public CASockets {
public:
    // `progress` (may be null) reports every request.
    ASyncWSocksServer(std::optional<uint32_t> localIPv4, AProgress* progress,
                      const ServerTimeouts& timeouts = {},
                      size_t slotCapacity = ConnectionSlotTable::kDefaultCapacity);
    // Stops listening and waits for every connection before anything the handlers use goes.
    ~ASyncWSocksServer() override;

    WireMessage OnRequest(int code, std::span<const uint8_t> payload) override;
    std::unique_ptr<RequestStream> OpenRequestStream(int code) override;
    // A client is about to start a session ("Start Session", on the connection's thread); the base
    // does nothing.
    virtual void OnSessionStarting() {}
    // Handlers are registered before listening starts.
    RequestDispatcher& Dispatcher() { return m_dispatcher; }

    // Listens on this computer's own address, on the base port and the next one: false when listening
    // was started already.
    bool StartListening();
    // Stops accepting, ends every connection and waits for every connection thread.
    void StopListening();
    void StopScan() override;
    bool IsListening() const { return m_listener.IsStarted(); }
    // Set when a port could not be bound at the last start.
    bool BindFailed() const { return m_listener.BindFailed(); }

private:
    ServerTimeouts m_timeouts;
    RequestDispatcher m_dispatcher;
    std::mutex m_listening;
    ConnectionListener m_listener;
};
