#pragma once
// The handler of one request code.

#include "remote/RequestStream.h"
#include "remote/WireMessage.h"

#include <memory>
#include <span>

class RequestHandler {
public:
    virtual ~RequestHandler() = default;
    // The answer to one request, given its received (unpacked) payload. Called on the connection's own
    // thread, perhaps on several at once.
    virtual WireMessage Serve(std::span<const uint8_t> payload) = 0;
    // A handler that takes its payload as it arrives gives a stream for each request; null (the base):
    // the payload is received whole and handed to Serve.
    virtual std::unique_ptr<RequestStream> OpenStream() { return nullptr; }
};
