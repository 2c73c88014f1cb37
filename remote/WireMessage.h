#pragma once
// One message as the link hands it on: its code and its raw payload (unpacked), and for an answer
// still to be sent whether it may go packed.

#include <cstdint>
#include <span>
#include <vector>

struct WireMessage {
    int32_t code = 0;
    std::vector<uint8_t> payload;
    bool pack = false;

    // Code 0 with the payload.
    static WireMessage Success(std::vector<uint8_t> payload, bool pack = false);
    // A code with the single u32 that says more: the form of every answer without a payload of its own.
    static WireMessage Status(int32_t code, uint32_t word = 0);
    // The answer to a request nobody handles: its negated code and its own payload.
    static WireMessage EchoOf(int32_t code, std::span<const uint8_t> payload);
};
