#pragma once
// 1010 `RemoteDeleteFile`: the song an entry of the session's list names, deleted as the list deletes
// (from its playlist, or from the library with its file moved to "Removed Files"). Only songs of the
// library can be named so.

#include "server/requests/SessionRequestHandler.h"

class RemoteDeleteFileHandler : public SessionRequestHandler {
public:
    using SessionRequestHandler::SessionRequestHandler;

    WireMessage Serve(std::span<const uint8_t> payload) override;
};
