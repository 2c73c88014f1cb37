#pragma once
// The handler of one request code.

#include "remote/WireMessage.h"

#include <span>

class RequestHandler {
public:
    virtual ~RequestHandler() = default;
    // The answer to one request, given its received (unpacked) payload. Called on the connection's own
    // thread, perhaps on several at once.
    virtual WireMessage Serve(std::span<const uint8_t> payload) = 0;
};
