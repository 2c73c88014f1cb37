#pragma once
// A server on 127.0.0.2 that answers the link's requests by a script, on as many connections as come,
// and falls silent wherever the script says: it keeps the connection open and sends and takes nothing
// more until it goes.

#include "platform/sockets/SocketHandle.h"
#include "platform/sockets/WakeSignal.h"
#include "remote/WireMessage.h"

#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class ByteChannel;
class MessageReader;

class FallingSilentServer {
public:
    static constexpr uint32_t kAddress = 0x7F000002;
    static constexpr const char* kAddressText = "127.0.0.2";

    // What the server does with one request, chosen when its header came.
    struct Step {
        enum Kind {
            Answer,           // reads the request and answers it
            SilentInRequest,  // takes none of the request's payload
            SilentAfterRequest,
            SilentInAnswer,   // sends the first `answerBytes` of the answer as it goes on the wire
        };
        Kind kind = Answer;
        WireMessage answer;
        size_t answerBytes = 0;
    };
    using Script = std::function<Step(int code)>;

    explicit FallingSilentServer(Script script);
    ~FallingSilentServer();
    FallingSilentServer(const FallingSilentServer&) = delete;
    FallingSilentServer& operator=(const FallingSilentServer&) = delete;

    uint16_t Port() const { return m_port; }
    // How many requests of the code came.
    int Requests(int code) const;

    static Step Answered(WireMessage answer) { return Step{Step::Answer, std::move(answer), 0}; }
    static Step Silent(Step::Kind kind, WireMessage answer = {}, size_t answerBytes = 0) {
        return Step{kind, std::move(answer), answerBytes};
    }

private:
    void Accept();
    void Serve(nativesockets::SocketHandle connection);
    // False when the connection is to end.
    bool ServeRequest(ByteChannel& channel, MessageReader& reader);
    void FallSilent() const;

    Script m_script;
    nativesockets::SocketHandle m_listener;
    uint16_t m_port = 0;
    nativesockets::WakeSignal m_stop;
    mutable std::mutex m_lock;
    std::map<int, int> m_requests;
    std::vector<std::thread> m_connections;
    std::thread m_acceptor;
};
