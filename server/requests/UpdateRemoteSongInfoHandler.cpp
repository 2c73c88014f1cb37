#include "server/requests/UpdateRemoteSongInfoHandler.h"

#include "library/songlists/ADirTunes.h"
#include "remote/PlayDataFlags.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"

WireMessage UpdateRemoteSongInfoHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    uint32_t id = 0;
    AString entry;
    AString key;
    PlayDataFlags::Bytes flags{};
    if (!fields.ReadU32(id) || fields.ReadText(entry) != 0 || fields.ReadText(key) != 0)
        return Refused();
    for (uint8_t& flag : flags) {
        if (!fields.ReadU8(flag))
            return Refused();
    }
    WireMessage refusal;
    const SessionTable::Lease session = TakePrepared(id, refusal);
    if (!session)
        return refusal;
    session->list->UpdateSongInfo(entry, key, PlayDataFlags::Read(flags));
    return WireMessage::Status(0);
}
