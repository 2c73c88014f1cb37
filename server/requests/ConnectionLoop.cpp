#include "server/requests/ConnectionLoop.h"

#include "foundation/ByteOrder.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/CASockets.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/SocketChannel.h"

using nativesockets::Deadline;
using nativesockets::IoStatus;

namespace {

constexpr char kLocalDomain[] = ".local";

// One request read whole, or false when the connection is to end.
bool ReadRequest(MessageReader& reader, const ServerTimeouts& timeouts, WireMessage& request) {
    if (reader.WaitForMessage(Deadline::AfterMs(timeouts.idleMs)) != IoStatus::Done)
        return false;
    WireHeader header;
    if (reader.ReadHeader(header, Deadline::AfterMs(timeouts.headerMs)) != 0 ||
        header.code == linkcodes::kEndOfConnection)
        return false;
    request.code = header.code;
    return reader.ReadPayload(header, request.payload, timeouts.payloadStallMs, nullptr) == 0;
}

} // namespace

WireMessage ConnectionLoop::HelloAnswer() {
    const std::string name = nativesockets::GetHostName() + kLocalDomain;
    std::vector<uint8_t> payload(4);
    StoreLE32(payload.data(), linkcodes::kHelloAnswerWord);
    payload.insert(payload.end(), name.begin(), name.end());
    payload.push_back(0);
    return WireMessage{linkcodes::kHelloAnswer, std::move(payload), false};
}

void ConnectionLoop::Serve(CASockets& owner, const nativesockets::SocketHandle& socket,
                           const nativesockets::WakeSignal& wake, const ServerTimeouts& timeouts) {
    SocketChannel channel(socket, &wake);
    MessageReader reader(channel);
    WireMessage request;
    while (!owner.IsStopping() && ReadRequest(reader, timeouts, request)) {
        const WireMessage answer = request.code == linkcodes::kHello
                                       ? HelloAnswer()
                                       : owner.OnRequest(request.code, request.payload);
        if (MessageWriter::SendMessage(channel, answer.code, answer.payload, MessageWriter::kEmptyAnswerWord,
                                       answer.pack, nullptr, timeouts.answerStallMs) != 0)
            return;
    }
}
