#pragma once
// The server program's socket object: the library's request handlers, and notices on the connection's
// thread when a remote main program joined the found-host table and when a client starts a session.

#include "server/requests/ASyncWSocksServer.h"

#include <functional>

class HelperSocketServer : public ASyncWSocksServer {
public:
    using Notice = std::function<void()>;

    HelperSocketServer(std::optional<uint32_t> localIPv4, Notice hostJoined, Notice sessionStarting);
    ~HelperSocketServer() override;

    void OnHostsChanged() override;
    void OnSessionStarting() override;

private:
    Notice m_hostJoined;
    Notice m_sessionStarting;
};
