#pragma once
// 2001: the tags of a file, as the saved form of its ID3 record.

#include "server/requests/PathRequestHandler.h"

class ReadRemoteTagsHandler : public PathRequestHandler {
public:
    using PathRequestHandler::PathRequestHandler;
    WireMessage Serve(std::span<const uint8_t> payload) override;
};
