#pragma once
// 1007 "AddSongFromDisk": a file of the music folder added to the library, and to the session's
// playlist; with the song key that may follow its path, the new song takes the key's play data. A file
// anywhere else is refused: a client never brings a file of the user's into the library that the user
// did not put into the music.

#include "server/requests/SessionRequestHandler.h"

class LibraryPathPolicy;

class AddSongFromDiskHandler : public SessionRequestHandler {
public:
    AddSongFromDiskHandler(std::shared_ptr<SessionTable> sessions, std::shared_ptr<const ServedLibrary> library,
                           std::shared_ptr<const LibraryPathPolicy> policy)
        : SessionRequestHandler(std::move(sessions), std::move(library)), m_policy(std::move(policy)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<const LibraryPathPolicy> m_policy;
};
