#include "DispatcherPeer.h"

#include "server/requests/ASyncWSocksServer.h"

int DispatcherPeer::Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                            bool, AProgress*, int, int, const CancelCallback&) {
    ++requests;
    const std::span<const uint8_t> bytes = payload ? std::span(payload, length) : std::span<const uint8_t>();
    WireMessage reply = m_server.OnRequest(code, bytes);
    answer = std::move(reply.payload);
    if (reply.body) {
        answer.resize(reply.body->Size());
        if (reply.body->Read(answer) != 0)
            return -1;
    }
    if (reply.code != 0)
        answer.clear();
    return reply.code;
}
