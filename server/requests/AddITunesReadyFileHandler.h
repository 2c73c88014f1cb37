#pragma once
// 1006 "AddITunesReadyFile": a song file placed in the library's music folder, in its organised folder
// and under its organised name, ready to be added. A file sent with the request is written first into
// a fresh private folder under the plain file name it was given; a file named without data must be
// one the library may give out.

#include "server/requests/SessionRequestHandler.h"

class LibraryPathPolicy;

class AddITunesReadyFileHandler : public SessionRequestHandler {
public:
    AddITunesReadyFileHandler(std::shared_ptr<SessionTable> sessions, std::shared_ptr<const ServedLibrary> library,
                              std::shared_ptr<const LibraryPathPolicy> policy)
        : SessionRequestHandler(std::move(sessions), std::move(library)), m_policy(std::move(policy)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<const LibraryPathPolicy> m_policy;
};
