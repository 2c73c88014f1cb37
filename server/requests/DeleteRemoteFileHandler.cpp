#include "server/requests/DeleteRemoteFileHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirTunes.h"
#include "server/requests/LibraryPathPolicy.h"
#include "server/requests/RemoteSession.h"

WireMessage DeleteRemoteFileHandler::Serve(std::span<const uint8_t> payload) {
    uint32_t id = 0;
    AString path;
    if (!ReadIDAndText(payload, id, path))
        return Refused();
    WireMessage refusal;
    const SessionTable::Lease session = Take(id, refusal);
    if (!session)
        return refusal;
    const auto resolved = m_policy->Resolve(path, PathPolicy::Access::Write);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    // The file itself, not a song of the list by its entry.
    return WireMessage::Status(session->list->ADir::DeleteFile(*resolved, 0, 0));
}
