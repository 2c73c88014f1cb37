#include "server/requests/RemoteDeleteFileHandler.h"

#include "library/songlists/ADirTunes.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/ServedLibrary.h"

WireMessage RemoteDeleteFileHandler::Serve(std::span<const uint8_t> payload) {
    uint32_t id = 0;
    uint8_t byID = 0;
    uint8_t skip = 0;
    AString entry;
    if (!ReadIDFlagsAndText(payload, id, byID, skip, entry))
        return Refused();
    WireMessage refusal;
    const SessionTable::Lease session = TakePrepared(id, refusal);
    if (!session)
        return refusal;
    // A playlist's song leaves the playlist; its file stays.
    if (IsLimitedToPlayList(*session))
        skip = 1;
    const int result = session->list->DeleteFile(entry, byID, skip);
    m_library->Changed();
    return WireMessage::Status(result);
}
