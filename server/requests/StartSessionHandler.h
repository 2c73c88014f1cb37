#pragma once
// 1002 "Start Session": a session for the client, set up with its settings; the client joins the
// found hosts. The request is read whole before the session is made; the server hears of it first.

#include "server/requests/RequestHandler.h"

#include <memory>

class AProgress;
class ASyncWSocksServer;
class SessionTable;

class StartSessionHandler : public RequestHandler {
public:
    // `owner` keeps the found hosts and outlives the handler; `progress` (may be null) is the sessions'.
    StartSessionHandler(std::shared_ptr<SessionTable> sessions, ASyncWSocksServer& owner, AProgress* progress)
        : m_sessions(std::move(sessions)), m_owner(owner), m_progress(progress) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<SessionTable> m_sessions;
    ASyncWSocksServer& m_owner;
    AProgress* m_progress;
};
