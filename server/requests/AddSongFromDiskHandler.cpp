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
    AString key;
    // A song key may follow the path: the new song then takes its play data.
    if (!fields.ReadU32(id) || fields.ReadText(path) != 0 || (!fields.AtEnd() && fields.ReadText(key) != 0))
        return Refused();
    WireMessage refusal;
    const SessionTable::Lease session = TakePrepared(id, refusal);
    if (!session)
        return refusal;
    const auto resolved = m_policy->ResolveInMusicFolder(path, PathPolicy::Access::Read);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    ADirTunes& list = *session->list;
    list.ResetAddState();
    const int result = list.AddTrackFile(*resolved, key.IsEmpty() ? nullptr : &key);
    m_library->Changed();
    return WireMessage::Status(result);
}
