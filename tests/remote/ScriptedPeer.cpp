#include "ScriptedPeer.h"

#include "platform/sockets/TcpSockets.h"

#include <gtest/gtest.h>

using nativesockets::Deadline;

ScriptedPeer::ScriptedPeer(Script script)
    : m_listener(nativesockets::ListenTcp(kAddress, 0)), m_port(nativesockets::BoundPort(m_listener)) {
    EXPECT_TRUE(m_listener.IsOpen());
    m_thread = std::thread([this, script = std::move(script)] {
        nativesockets::SocketHandle connection;
        if (nativesockets::AcceptConnection(m_listener, Deadline::AfterMs(10000), nullptr, connection) !=
            nativesockets::IoStatus::Done)
            return;
        SocketChannel channel(connection, nullptr);
        MessageReader reader(channel);
        script(channel, reader);
    });
}

ScriptedPeer::~ScriptedPeer() {
    m_thread.join();
}

WireHeader ScriptedPeer::ReadMessage(MessageReader& reader, std::vector<uint8_t>& payload) {
    WireHeader header;
    EXPECT_EQ(reader.ReadHeader(header, Deadline::AfterMs(10000)), 0);
    if (header.code != 0) {
        EXPECT_EQ(reader.ReadPayload(header, payload, 10000, nullptr), 0);
    }
    return header;
}
