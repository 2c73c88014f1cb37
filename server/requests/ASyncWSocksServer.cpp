#include "server/requests/ASyncWSocksServer.h"

#include "server/requests/ConnectionLoop.h"

ASyncWSocksServer::ASyncWSocksServer(std::optional<uint32_t> localIPv4, AProgress* progress,
                                     const ServerTimeouts& timeouts, size_t slotCapacity)
    : CASockets(localIPv4, slotCapacity), m_timeouts(timeouts), m_dispatcher(progress),
      m_listener(Slots(), Wake(), timeouts.acceptPauseMs) {}

ASyncWSocksServer::~ASyncWSocksServer() {
    StopListening();
}

WireMessage ASyncWSocksServer::OnRequest(int code, std::span<const uint8_t> payload) {
    return m_dispatcher.Dispatch(code, payload);
}

std::unique_ptr<RequestStream> ASyncWSocksServer::OpenRequestStream(int code) {
    return m_dispatcher.OpenStream(code);
}

bool ASyncWSocksServer::StartListening() {
    std::lock_guard lock(m_listening);
    if (m_listener.IsStarted())
        return false;
    ClearStop();
    return m_listener.Start(GetLocalIPv4(), GetBasePort(), [this](const nativesockets::SocketHandle& socket) {
        ConnectionLoop::Serve(*this, socket, Wake(), m_timeouts);
    });
}

void ASyncWSocksServer::StopListening() {
    std::lock_guard lock(m_listening);
    CASockets::StopScan();
    m_listener.Stop();
    while (Slots().CloseAll() > 0) {
    }
}

void ASyncWSocksServer::StopScan() {
    StopListening();
}
