#pragma once
// 1005 "InitWPath": the session's song list read from the library and sent whole, with each song's
// key, remote path and file information; packed when the client asked for it. One at a time: a second
// request while one runs is answered -1 with -8996.

#include "server/requests/SessionRequestHandler.h"

#include <atomic>

class InitWPathHandler : public SessionRequestHandler {
public:
    using SessionRequestHandler::SessionRequestHandler;

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::atomic<bool> m_busy{false};
};
