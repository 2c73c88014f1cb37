#pragma once
// Server programs' listening sides on loopback addresses, all on one free base port (and the probe
// port beside it), for the main program's tests of finding and greeting servers.

// First: its parameters are named as Qt's "slots" keyword, which Qt's headers define away.
#include "server/requests/ASyncWSocksServer.h"

#include <memory>
#include <vector>

struct LoopbackServers {
    explicit LoopbackServers(const std::vector<uint32_t>& addresses);

    // Whether every address listens.
    bool AllListening() const { return listening.size() == m_wanted; }

    uint16_t port = 0;
    std::vector<std::unique_ptr<ASyncWSocksServer>> listening;

private:
    size_t m_wanted;
};
