#include "LoopbackServer.h"

#include "../remote/MemoryChannel.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/MessageWriter.h"
#include "server/requests/FileRequestHandlers.h"

#include <gtest/gtest.h>
#include <mutex>
#include <random>

using nativesockets::Deadline;
using nativesockets::IoStatus;

namespace {

// Below the range the system hands out for outgoing connections.
constexpr uint16_t kFirstPort = 20000;
constexpr uint16_t kPortCount = 12000;
constexpr int kPortAttempts = 200;

} // namespace

uint16_t LoopbackServer::RandomPort() {
    static std::mt19937 random{std::random_device{}()};
    static std::mutex lock;
    std::lock_guard guard(lock);
    return static_cast<uint16_t>(kFirstPort + random() % kPortCount);
}

LoopbackServer::LoopbackServer(const ServerTimeouts& timeouts, size_t slotCapacity)
    : m_policy(std::make_shared<MusicFolderPolicy>(AString(m_music.Path()))) {
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        m_server = std::make_unique<ASyncWSocksServer>(kServerAddress, nullptr, timeouts, slotCapacity);
        RegisterFileRequestHandlers(m_server->Dispatcher(), m_policy);
        m_server->SetBasePort(RandomPort());
        if (m_server->StartListening() && !m_server->BindFailed())
            return;
    }
    ADD_FAILURE() << "no free pair of ports";
}

void LoopbackServer::Restart() {
    m_server->StopListening();
    ASSERT_TRUE(m_server->StartListening());
    ASSERT_FALSE(m_server->BindFailed());
}

std::unique_ptr<CASockets> LoopbackServer::Client() const {
    auto client = std::make_unique<CASockets>(kClientAddress);
    client->SetBasePort(Port());
    return client;
}

RawConnection::RawConnection(uint16_t port)
    : m_socket(nativesockets::ConnectTcp(LoopbackServer::kServerAddress, port, Deadline::AfterMs(5000),
                                         nullptr)) {}

bool RawConnection::Send(const std::string& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    return nativesockets::SendAll(m_socket, std::span(data, bytes.size()), 5000, nullptr).status ==
           IoStatus::Done;
}

bool RawConnection::ReadSome() {
    uint8_t buffer[65536];
    return nativesockets::ReceiveSome(m_socket, buffer, Deadline::AfterMs(5000), nullptr).status ==
           IoStatus::Done;
}

std::string RawConnection::ReadUntilClosed(int waitMs, bool& closed) {
    std::string received;
    const Deadline deadline = Deadline::AfterMs(waitMs);
    uint8_t buffer[65536];
    for (;;) {
        const auto got = nativesockets::ReceiveSome(m_socket, buffer, deadline, nullptr);
        if (got.status != IoStatus::Done) {
            closed = got.status == IoStatus::Closed;
            return received;
        }
        received.append(reinterpret_cast<const char*>(buffer), got.count);
    }
}

std::string MessageBytes(int code, const std::vector<uint8_t>& payload) {
    MemoryChannel channel;
    MessageWriter::SendMessage(channel, code, payload, MessageWriter::kEmptyRequestWord, false, nullptr, -1);
    return std::string(channel.written.begin(), channel.written.end());
}
