#pragma once
// The server program's socket object: the library's request handlers, and a notice when a remote
// main program joined the found-host table (on the connection's thread).

#include "server/requests/ASyncWSocksServer.h"

#include <functional>

class HelperSocketServer : public ASyncWSocksServer {
public:
    using HostJoined = std::function<void()>;

    HelperSocketServer(std::optional<uint32_t> localIPv4, HostJoined hostJoined);
    ~HelperSocketServer() override;

    void OnHostsChanged() override;

private:
    HostJoined m_hostJoined;
};
