#include "server/requests/RequestDispatcher.h"

#include "foundation/AProgress.h"

void RequestDispatcher::Register(int code, std::unique_ptr<RequestHandler> handler) {
    m_handlers[code] = std::move(handler);
}

WireMessage RequestDispatcher::Dispatch(int code, std::span<const uint8_t> payload) const {
    if (m_progress) {
        const AString starting("Initializing Remote Sync...");
        m_progress->Start(&starting, true, true);
    }
    const auto handler = m_handlers.find(code);
    WireMessage answer =
        handler == m_handlers.end() ? WireMessage::EchoOf(code, payload) : handler->second->Serve(payload);
    if (m_progress) {
        const AString finished("Remote Music List.");
        m_progress->Finish(&finished, true, true);
    }
    return answer;
}
