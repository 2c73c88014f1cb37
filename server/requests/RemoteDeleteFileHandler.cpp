#include "server/requests/RemoteDeleteFileHandler.h"

#include "library/songlists/ADirTunes.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"
#include "server/requests/ServedLibrary.h"

WireMessage RemoteDeleteFileHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    uint32_t id = 0;
    uint8_t byID = 0;
    uint8_t skip = 0;
    AString entry;
    if (!fields.ReadU32(id) || !fields.ReadU8(byID) || !fields.ReadU8(skip) || fields.ReadText(entry) != 0)
        return Refused();
    const SessionTable::Lease session = m_sessions->Acquire(id);
    if (!session)
        return Refused();
    if (const int result = Prepare(*session))
        return WireMessage::Status(result);
    // A playlist's song leaves the playlist; its file stays.
    if (IsLimitedToPlayList(*session))
        skip = 1;
    const int result = session->list->DeleteFile(entry, byID, skip);
    m_library->Changed();
    return WireMessage::Status(result);
}
