#pragma once
// 3002: a file sent by the client, written over its destination. The file is taken as it arrives and
// written beside the destination; only once every piece has come, the checksum has held and the length
// is whole is it renamed over the destination, so a failed request leaves the old file.

#include "server/requests/PathRequestHandler.h"

class CopyWithProgressRemoteHandler : public PathRequestHandler {
public:
    using PathRequestHandler::PathRequestHandler;
    WireMessage Serve(std::span<const uint8_t> payload) override;
    std::unique_ptr<RequestStream> OpenStream() override;
};
