#pragma once
// One main program per user. The first start claims the program's endpoint, where later starts and
// the server program reach it; a second start finds it claimed, shows and raises the running
// program, hands it the router configuration it was given, and ends without a window of its own.

#include "platform/ipc/PeerAddress.h"
#include "platform/ipc/PeerEndpoint.h"

#include <memory>

class SingleInstance {
public:
    enum class Start { First, Second };

    explicit SingleInstance(nativeipc::PeerAddress address);
    ~SingleInstance();

    // First also when no endpoint can be had (no runtime folder): the program then runs unreachable.
    Start Claim();
    // Tells the running program to show itself, and to load the start-up file when `startupConfig`.
    // False when it could not be reached.
    bool HandOverToRunning(bool startupConfig) const;

    // The first start's endpoint, to set its handler on.
    nativeipc::PeerEndpoint& Endpoint() { return *m_endpoint; }

private:
    nativeipc::PeerAddress m_address;
    std::unique_ptr<nativeipc::PeerEndpoint> m_endpoint;
};
