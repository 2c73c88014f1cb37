#pragma once
// The session loop of one accepted connection: it reads requests and answers them in order until the
// client sends the end-of-connection message, stays idle too long, breaks the protocol, or the server
// stops. A hello is answered here; every other request goes to the owner's OnRequest.

#include "remote/WireMessage.h"
#include "server/requests/ServerTimeouts.h"

class CASockets;

namespace nativesockets {
class SocketHandle;
class WakeSignal;
} // namespace nativesockets

class ConnectionLoop {
public:
    static void Serve(CASockets& owner, const nativesockets::SocketHandle& socket,
                      const nativesockets::WakeSignal& wake, const ServerTimeouts& timeouts);
    // Code -1 with u32 100, this computer's host name, ".local" and a NUL.
    static WireMessage HelloAnswer();
};
