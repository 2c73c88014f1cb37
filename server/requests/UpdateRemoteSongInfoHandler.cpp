#include "server/requests/UpdateRemoteSongInfoHandler.h"

#include "library/songlists/ADirTunes.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"

WireMessage UpdateRemoteSongInfoHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    uint32_t id = 0;
    AString entry;
    AString key;
    uint8_t flags[5] = {};
    if (!fields.ReadU32(id) || fields.ReadText(entry) != 0 || fields.ReadText(key) != 0)
        return Refused();
    for (uint8_t& flag : flags) {
        if (!fields.ReadU8(flag))
            return Refused();
    }
    const SessionTable::Lease session = m_sessions->Acquire(id);
    if (!session)
        return Refused();
    if (const int result = Prepare(*session))
        return WireMessage::Status(result);
    // On the wire: play count, played date, rating, comment, equalizer.
    ITunesPlayDataFields fieldsToWrite;
    fieldsToWrite.playedCount = flags[0] != 0;
    fieldsToWrite.playedDate = flags[1] != 0;
    fieldsToWrite.rating = flags[2] != 0;
    fieldsToWrite.comment = flags[3] != 0;
    fieldsToWrite.equalizer = flags[4] != 0;
    session->list->UpdateSongInfo(entry, key, fieldsToWrite);
    return WireMessage::Status(0);
}
