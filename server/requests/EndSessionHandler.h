#pragma once
// 1003 "End Session": the session goes now, or when the request that uses it ends. Always answered 0.

#include "server/requests/RequestHandler.h"

#include <memory>

class SessionTable;

class EndSessionHandler : public RequestHandler {
public:
    explicit EndSessionHandler(std::shared_ptr<SessionTable> sessions) : m_sessions(std::move(sessions)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<SessionTable> m_sessions;
};
