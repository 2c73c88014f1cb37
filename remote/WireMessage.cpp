#include "remote/WireMessage.h"

#include "foundation/ByteOrder.h"

WireMessage WireMessage::Success(std::vector<uint8_t> payload, bool pack) {
    return WireMessage{0, std::move(payload), pack, nullptr};
}

WireMessage WireMessage::Streamed(std::shared_ptr<PayloadSource> body) {
    return WireMessage{0, {}, false, std::move(body)};
}

WireMessage WireMessage::Status(int32_t code, uint32_t word) {
    std::vector<uint8_t> payload(4);
    StoreLE32(payload.data(), word);
    return WireMessage{code, std::move(payload), false, nullptr};
}

WireMessage WireMessage::EchoOf(int32_t code, std::span<const uint8_t> payload) {
    return WireMessage{-code, std::vector<uint8_t>(payload.begin(), payload.end()), false, nullptr};
}
