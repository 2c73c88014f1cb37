#pragma once
// A server of one connection on 127.0.0.2 that follows a script of the test.

#include "platform/sockets/SocketHandle.h"
#include "remote/MessageReader.h"
#include "remote/SocketChannel.h"

#include <functional>
#include <thread>

class ScriptedPeer {
public:
    using Script = std::function<void(ByteChannel& channel, MessageReader& reader)>;

    static constexpr uint32_t kAddress = 0x7F000002;

    explicit ScriptedPeer(Script script);
    ~ScriptedPeer();

    uint16_t Port() const { return m_port; }
    // Reads one whole message: its header and payload.
    static WireHeader ReadMessage(MessageReader& reader, std::vector<uint8_t>& payload);

private:
    nativesockets::SocketHandle m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};
