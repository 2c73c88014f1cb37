#pragma once
// 1008 `DeleteRemoteFile`: a file of the served library moved to the "Removed Files" folder beside
// the music folder; the library itself is not changed.

#include "server/requests/SessionRequestHandler.h"

class LibraryPathPolicy;

class DeleteRemoteFileHandler : public SessionRequestHandler {
public:
    DeleteRemoteFileHandler(std::shared_ptr<SessionTable> sessions, std::shared_ptr<const ServedLibrary> library,
                            std::shared_ptr<const LibraryPathPolicy> policy)
        : SessionRequestHandler(std::move(sessions), std::move(library)), m_policy(std::move(policy)) {}

    WireMessage Serve(std::span<const uint8_t> payload) override;

private:
    std::shared_ptr<const LibraryPathPolicy> m_policy;
};
