#pragma once
// 3002: a file sent by the client, written over its destination. The new file is written beside the
// destination and renamed over it only when whole, so a failed request leaves the old file.

#include "server/requests/PathRequestHandler.h"

class CopyWithProgressRemoteHandler : public PathRequestHandler {
public:
    using PathRequestHandler::PathRequestHandler;
    WireMessage Serve(std::span<const uint8_t> payload) override;
};
