#include "platform/ipc/PeerEndpoint.h"

#include "platform/ipc/PeerWire.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace nativeipc {
namespace {

// How long a second start waits for a first one that is claiming the endpoint at the same moment.
constexpr int kClaimWaitMs = 5000;
// How long the probe of a running program may take: it answers at once when it is there.
constexpr int kProbeWaitMs = 1000;
// A connection whose message is not whole by then is dropped.
constexpr int kMessageWaitMs = 10000;

bool SomeoneListensAt(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(kProbeWaitMs);
}

void Drop(QLocalSocket* socket) {
    QObject::disconnect(socket, nullptr, nullptr, nullptr);
    socket->abort();
    socket->deleteLater();
}

} // namespace

PeerEndpoint::PeerEndpoint(PeerProgram program, PeerAddress address)
    : m_path(address.EndpointPath(program)), m_server(std::make_unique<QLocalServer>()) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] { Accept(); });
}

PeerEndpoint::~PeerEndpoint() = default;

PeerEndpoint::ListenResult PeerEndpoint::Listen() {
    if (m_path.isEmpty())
        return ListenResult::Failed;
    QLockFile claim(m_path + QStringLiteral(".lock"));
    if (!claim.tryLock(kClaimWaitMs))
        return ListenResult::Failed;
    if (SomeoneListensAt(m_path))
        return ListenResult::AlreadyRunning;
    QLocalServer::removeServer(m_path);
    return m_server->listen(m_path) ? ListenResult::Listening : ListenResult::Failed;
}

bool PeerEndpoint::IsListening() const {
    return m_server->isListening();
}

void PeerEndpoint::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        const auto arrived = std::make_shared<bool>(false);
        QObject::connect(socket, &QLocalSocket::readyRead, socket,
                         [this, socket, arrived] { ReadFrom(socket, *arrived); });
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kMessageWaitMs, socket, [socket, arrived] {
            if (!*arrived)
                Drop(socket);
        });
        ReadFrom(socket, *arrived);
    }
}

void PeerEndpoint::ReadFrom(QLocalSocket* socket, bool& arrived) {
    PeerMessage message;
    PeerWire::Delivery delivery = PeerWire::Delivery::Post;
    const QByteArray available = socket->peek(socket->bytesAvailable());
    const PeerWire::Parse parse = PeerWire::DecodeMessage(available, message, delivery);
    if (parse == PeerWire::Parse::Incomplete)
        return;
    if (parse == PeerWire::Parse::Invalid) {
        Drop(socket);
        return;
    }
    // One message per connection: nothing more is read from it, even while the handler runs a loop.
    arrived = true;
    QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
    const QPointer<QLocalSocket> guard(socket);
    const int64_t result = m_handler ? m_handler(message) : 0;
    if (!guard)
        return;
    if (delivery == PeerWire::Delivery::Send) {
        socket->write(PeerWire::EncodeAnswer(result));
        socket->flush();
    }
    socket->disconnectFromServer();
}

} // namespace nativeipc
