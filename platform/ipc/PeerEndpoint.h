#pragma once
// A program's own endpoint, where the other program (or a second start of the same one) reaches it.
// Listen claims it for this process unless a running program holds it already: that is how a second
// start finds the first. Messages are handled on the thread that made the endpoint, in its event
// loop, one at a time: the handler's result is the answer of a send and is dropped for a post. Each
// connection carries one message; one that does not arrive whole in time is dropped.

#include "platform/ipc/PeerAddress.h"
#include "platform/ipc/PeerMessage.h"

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace nativeipc {

class PeerEndpoint {
public:
    using Handler = std::function<int64_t(const PeerMessage&)>;
    enum class ListenResult { Listening, AlreadyRunning, Failed };

    PeerEndpoint(PeerProgram program, PeerAddress address);
    ~PeerEndpoint();
    PeerEndpoint(const PeerEndpoint&) = delete;
    PeerEndpoint& operator=(const PeerEndpoint&) = delete;

    // Two starts at the same moment are kept apart by a lock file beside the endpoint; an endpoint
    // left behind by a program that died is taken over.
    ListenResult Listen();
    bool IsListening() const;
    // Without a handler every message is answered with 0.
    void SetHandler(Handler handler) { m_handler = std::move(handler); }

private:
    void Accept();
    // Handles the connection's message once it is whole, and then sets `arrived`.
    void ReadFrom(QLocalSocket* socket, bool& arrived);

    QString m_path;
    std::unique_ptr<QLocalServer> m_server;
    Handler m_handler;
};

} // namespace nativeipc
