#include "server/requests/ConnectionLoop.h"

#include "foundation/ByteOrder.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/CASockets.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/RequestStream.h"
#include "remote/SocketChannel.h"

using nativesockets::Deadline;
using nativesockets::IoStatus;

namespace {

constexpr char kLocalDomain[] = ".local";

// The header of the next request, or false when the connection is to end.
bool ReadRequestHeader(MessageReader& reader, const ServerTimeouts& timeouts, WireHeader& header) {
    if (reader.WaitForMessage(Deadline::AfterMs(timeouts.idleMs)) != IoStatus::Done)
        return false;
    return reader.ReadHeader(header, Deadline::AfterMs(timeouts.headerMs)) == 0 &&
           header.code != linkcodes::kEndOfConnection;
}

// Reads the request that `header` opens and answers it: through the stream of a handler that takes its
// payload as it arrives, else whole. False when the payload did not come whole.
bool AnswerRequest(CASockets& owner, MessageReader& reader, const WireHeader& header,
                   const ServerTimeouts& timeouts, WireMessage& answer) {
    if (header.code != linkcodes::kHello) {
        if (std::unique_ptr<RequestStream> stream = owner.OpenRequestStream(header.code)) {
            if (reader.ReadPayload(header, *stream, timeouts.payloadStallMs, nullptr) != 0)
                return false;
            answer = stream->Finish();
            return true;
        }
    }
    std::vector<uint8_t> payload;
    if (reader.ReadPayload(header, payload, timeouts.payloadStallMs, nullptr) != 0)
        return false;
    answer = header.code == linkcodes::kHello ? ConnectionLoop::HelloAnswer()
                                              : owner.OnRequest(header.code, payload);
    return true;
}

int SendAnswer(ByteChannel& channel, const WireMessage& answer, const ServerTimeouts& timeouts) {
    if (answer.body)
        return MessageWriter::SendFramed(channel, answer.code, *answer.body, nullptr, timeouts.answerStallMs);
    return MessageWriter::SendMessage(channel, answer.code, answer.payload, MessageWriter::kEmptyAnswerWord,
                                      answer.pack, nullptr, timeouts.answerStallMs);
}

} // namespace

WireMessage ConnectionLoop::HelloAnswer() {
    const std::string name = nativesockets::GetHostName() + kLocalDomain;
    std::vector<uint8_t> payload(4);
    StoreLE32(payload.data(), linkcodes::kHelloAnswerWord);
    payload.insert(payload.end(), name.begin(), name.end());
    payload.push_back(0);
    return WireMessage{linkcodes::kHelloAnswer, std::move(payload), false, nullptr};
}

void ConnectionLoop::Serve(CASockets& owner, const nativesockets::SocketHandle& socket,
                           const nativesockets::WakeSignal& wake, const ServerTimeouts& timeouts) {
    SocketChannel channel(socket, &wake);
    MessageReader reader(channel);
    WireHeader header;
    while (!owner.IsStopping() && ReadRequestHeader(reader, timeouts, header)) {
        WireMessage answer;
        if (!AnswerRequest(owner, reader, header, timeouts, answer) || SendAnswer(channel, answer, timeouts) != 0)
            return;
    }
}
