#pragma once
// 1012 `UpdateRemoteSongInfo`: the chosen play data of a song key written onto the song an entry of
// the session's list names. Answered 0 once the library was reached.

#include "server/requests/SessionRequestHandler.h"

class UpdateRemoteSongInfoHandler : public SessionRequestHandler {
public:
    using SessionRequestHandler::SessionRequestHandler;

    WireMessage Serve(std::span<const uint8_t> payload) override;
};
