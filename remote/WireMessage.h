#pragma once
// One message as the link hands it on: its code and its raw payload (unpacked), and for an answer
// still to be sent whether it may go packed, or the source it is read from as it goes.

#include "remote/PayloadSource.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct WireMessage {
    int32_t code = 0;
    std::vector<uint8_t> payload;
    bool pack = false;
    // When set, the payload is read from here as it is sent (never packed), and `payload` is unused.
    std::shared_ptr<PayloadSource> body;

    // Code 0 with the payload.
    static WireMessage Success(std::vector<uint8_t> payload, bool pack = false);
    // Code 0 with a payload read as it is sent.
    static WireMessage Streamed(std::shared_ptr<PayloadSource> body);
    // A code with the single u32 that says more: the form of every answer without a payload of its own.
    static WireMessage Status(int32_t code, uint32_t word = 0);
    // The answer to a request nobody handles: its negated code and its own payload.
    static WireMessage EchoOf(int32_t code, std::span<const uint8_t> payload);
};
