#include "platform/ipc/PeerLink.h"

#include "platform/ipc/PeerWire.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace nativeipc {
namespace {

int Remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

Delivery FailureOf(const QLocalSocket& socket) {
    switch (socket.error()) {
    case QLocalSocket::ServerNotFoundError:
    case QLocalSocket::ConnectionRefusedError:
        return Delivery::NoPeer;
    case QLocalSocket::SocketTimeoutError:
        return Delivery::TimedOut;
    default:
        return Delivery::Failed;
    }
}

Delivery Connect(QLocalSocket& socket, const QString& path, const QDeadlineTimer& deadline) {
    if (path.isEmpty())
        return Delivery::NoPeer;
    socket.connectToServer(path);
    return socket.waitForConnected(Remaining(deadline)) ? Delivery::Delivered : FailureOf(socket);
}

Delivery WriteAll(QLocalSocket& socket, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    if (socket.write(bytes) != bytes.size())
        return Delivery::Failed;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(Remaining(deadline)))
            return FailureOf(socket);
    }
    return Delivery::Delivered;
}

SendResult ReadAnswer(QLocalSocket& socket, const QDeadlineTimer& deadline) {
    QByteArray bytes;
    for (;;) {
        int64_t answer = 0;
        switch (PeerWire::DecodeAnswer(bytes, answer)) {
        case PeerWire::Parse::Complete:
            return {Delivery::Delivered, answer};
        case PeerWire::Parse::Invalid:
            return {Delivery::Failed, 0};
        case PeerWire::Parse::Incomplete:
            break;
        }
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(Remaining(deadline)))
            return {FailureOf(socket), 0};
        bytes += socket.read(PeerWire::kAnswerBytes - bytes.size());
    }
}

// Connects and writes the message; the socket stays open for an answer.
Delivery HandOver(QLocalSocket& socket, const QString& path, const PeerMessage& message,
                  PeerWire::Delivery delivery, const QDeadlineTimer& deadline) {
    if (message.payload.size() > PeerWire::kLargestPayload)
        return Delivery::Failed;
    if (const Delivery connected = Connect(socket, path, deadline); connected != Delivery::Delivered)
        return connected;
    return WriteAll(socket, PeerWire::EncodeMessage(message, delivery), deadline);
}

} // namespace

bool PeerLink::IsRunning(PeerProgram program) const {
    QLocalSocket socket;
    return Connect(socket, m_address.EndpointPath(program), QDeadlineTimer(kPostLimit)) ==
           Delivery::Delivered;
}

SendResult PeerLink::Send(PeerProgram program, const PeerMessage& message,
                          std::chrono::milliseconds limit) const {
    const QDeadlineTimer deadline(limit);
    QLocalSocket socket;
    const Delivery handed =
        HandOver(socket, m_address.EndpointPath(program), message, PeerWire::Delivery::Send, deadline);
    if (handed != Delivery::Delivered)
        return {handed, 0};
    return ReadAnswer(socket, deadline);
}

Delivery PeerLink::Post(PeerProgram program, const PeerMessage& message) const {
    QLocalSocket socket;
    return HandOver(socket, m_address.EndpointPath(program), message, PeerWire::Delivery::Post,
                    QDeadlineTimer(kPostLimit));
}

} // namespace nativeipc
