#pragma once
// A server program for the main window's tests: it listens at the server program's endpoint on a
// thread of its own, records every message, and answers the host-list request by writing the host
// list it was given, as the real one writes its found hosts.

#include "platform/ipc/PeerAddress.h"
#include "platform/ipc/PeerMessage.h"
#include "remote/FoundHost.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace nativeipc {
class PeerEndpoint;
}

class FakeHelperProgram {
public:
    FakeHelperProgram(nativeipc::PeerAddress address, std::vector<FoundHost> hosts = {});
    ~FakeHelperProgram();

    // Called on the program's own thread with each message before it is answered, as the real
    // program acts on it (writes a file, posts its answer to the main program).
    void SetReaction(std::function<void(const nativeipc::PeerMessage&)> react);

    std::vector<nativeipc::PeerMessage> Messages() const;
    bool Received(uint32_t number) const;

private:
    int64_t Handle(const nativeipc::PeerMessage& message);

    std::vector<FoundHost> m_hosts;
    mutable std::mutex m_lock;
    std::vector<nativeipc::PeerMessage> m_messages;
    std::function<void(const nativeipc::PeerMessage&)> m_react;
    QThread m_thread;
    QObject m_context; // lives on m_thread
    std::unique_ptr<nativeipc::PeerEndpoint> m_endpoint;
};
