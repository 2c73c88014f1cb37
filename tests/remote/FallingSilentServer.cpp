#include "FallingSilentServer.h"

#include "MemoryChannel.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/SocketChannel.h"

using nativesockets::Deadline;
using nativesockets::IoStatus;

namespace {

constexpr int kWaitMs = 10000;

// The answer as it goes on the wire.
std::vector<uint8_t> WireBytes(const WireMessage& answer) {
    MemoryChannel channel;
    MessageWriter::SendMessage(channel, answer.code, answer.payload, MessageWriter::kEmptyAnswerWord, false, nullptr,
                               kWaitMs);
    return channel.written;
}

} // namespace

FallingSilentServer::FallingSilentServer(Script script)
    : m_script(std::move(script)), m_listener(nativesockets::ListenTcp(kAddress, 0)),
      m_port(nativesockets::BoundPort(m_listener)), m_acceptor([this] { Accept(); }) {}

FallingSilentServer::~FallingSilentServer() {
    m_stop.Raise();
    m_acceptor.join();
    for (std::thread& connection : m_connections)
        connection.join();
}

int FallingSilentServer::Requests(int code) const {
    std::lock_guard lock(m_lock);
    const auto found = m_requests.find(code);
    return found == m_requests.end() ? 0 : found->second;
}

void FallingSilentServer::Accept() {
    for (;;) {
        nativesockets::SocketHandle connection;
        if (nativesockets::AcceptConnection(m_listener, Deadline::Never(), &m_stop, connection) != IoStatus::Done)
            return;
        m_connections.emplace_back([this, socket = std::move(connection)]() mutable { Serve(std::move(socket)); });
    }
}

void FallingSilentServer::Serve(nativesockets::SocketHandle connection) {
    SocketChannel channel(connection, &m_stop);
    MessageReader reader(channel);
    while (ServeRequest(channel, reader)) {
    }
}

bool FallingSilentServer::ServeRequest(ByteChannel& channel, MessageReader& reader) {
    WireHeader header;
    if (reader.ReadHeader(header, Deadline::AfterMs(kWaitMs)) != 0 || header.code == linkcodes::kEndOfConnection)
        return false;
    {
        std::lock_guard lock(m_lock);
        ++m_requests[header.code];
    }
    const Step step = m_script(header.code);
    if (step.kind == Step::SilentInRequest) {
        FallSilent();
        return false;
    }
    std::vector<uint8_t> payload;
    if (reader.ReadPayload(header, payload, kWaitMs, nullptr) != 0)
        return false;
    if (step.kind == Step::SilentAfterRequest) {
        FallSilent();
        return false;
    }
    std::vector<uint8_t> bytes = WireBytes(step.answer);
    if (step.kind == Step::SilentInAnswer)
        bytes.resize(std::min(bytes.size(), step.answerBytes));
    if (channel.WriteAll(bytes, kWaitMs).status != IoStatus::Done)
        return false;
    if (step.kind == Step::SilentInAnswer) {
        FallSilent();
        return false;
    }
    return true;
}

void FallingSilentServer::FallSilent() const {
    m_stop.WaitMs(-1);
}
