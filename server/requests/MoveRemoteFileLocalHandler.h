#pragma once
// 3003: one part of a file for the client to fetch: its modification time, whether a further part
// follows, and up to 314,572,800 bytes from the part's offset, read from the file as they are sent.

#include "server/requests/PathRequestHandler.h"

class MoveRemoteFileLocalHandler : public PathRequestHandler {
public:
    using PathRequestHandler::PathRequestHandler;
    WireMessage Serve(std::span<const uint8_t> payload) override;
};
