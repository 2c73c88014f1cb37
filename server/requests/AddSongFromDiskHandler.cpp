#include "server/requests/AddSongFromDiskHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirTunes.h"
#include "server/requests/LibraryPathPolicy.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"
#include "server/requests/ServedLibrary.h"

WireMessage AddSongFromDiskHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    uint32_t id = 0;
    AString path;
    if (!fields.ReadU32(id) || fields.ReadText(path) != 0)
        return Refused();
    const SessionTable::Lease session = m_sessions->Acquire(id);
    if (!session)
        return Refused();
    const auto resolved = m_policy->ResolveInMusicFolder(path, PathPolicy::Access::Read);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    if (const int result = Prepare(*session))
        return WireMessage::Status(result);
    ADirTunes& list = *session->list;
    list.ResetAddState();
    const int result = list.AddTrackFile(*resolved, nullptr);
    m_library->Changed();
    return WireMessage::Status(result);
}
