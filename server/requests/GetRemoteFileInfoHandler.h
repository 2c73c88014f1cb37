#pragma once
// 3001: what is known of a file (exists, folder, not hidden, size, modification time).

#include "server/requests/PathRequestHandler.h"

class GetRemoteFileInfoHandler : public PathRequestHandler {
public:
    using PathRequestHandler::PathRequestHandler;
    WireMessage Serve(std::span<const uint8_t> payload) override;
};
