#include "server/requests/SessionRequestHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/ADirTunes.h"
#include "remote/ADirTunesRemote.h"
#include "remote/LinkCodes.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"
#include "server/requests/ServedLibrary.h"

WireMessage SessionRequestHandler::Refused() {
    return WireMessage::Status(kErrorEndOfStream, 0);
}

WireMessage SessionRequestHandler::Busy() {
    return WireMessage::Status(kErrorEndOfStream, static_cast<uint32_t>(linkcodes::kSongListBusy));
}

SessionTable::Lease SessionRequestHandler::Take(uint32_t id, WireMessage& refusal) const {
    SessionTable::Lease session = m_sessions->Acquire(id);
    if (!session)
        refusal = session.Busy() ? Busy() : Refused();
    return session;
}

int SessionRequestHandler::Prepare(RemoteSession& session) const {
    ADirTunes& list = *session.list;
    if (ITunes* client = list.GetClient())
        return m_library->Connect(*client);
    return m_library->WhileUnreachable([&list] { return list.ReadDirectory(CancelCallback(), 1); });
}

SessionTable::Lease SessionRequestHandler::TakePrepared(uint32_t id, WireMessage& refusal) const {
    SessionTable::Lease session = Take(id, refusal);
    if (!session)
        return session;
    if (const int result = Prepare(*session)) {
        refusal = WireMessage::Status(result);
        return SessionTable::Lease();
    }
    return session;
}

bool SessionRequestHandler::ReadIDAndText(std::span<const uint8_t> payload, uint32_t& id, AString& text) {
    RequestFields fields(payload);
    return fields.ReadU32(id) && fields.ReadText(text) == 0;
}

bool SessionRequestHandler::ReadIDFlagsAndText(std::span<const uint8_t> payload, uint32_t& id, uint8_t& first,
                                               uint8_t& second, AString& text) {
    RequestFields fields(payload);
    return fields.ReadU32(id) && fields.ReadU8(first) && fields.ReadU8(second) && fields.ReadText(text) == 0;
}

bool SessionRequestHandler::IsLimitedToPlayList(const RemoteSession& session) {
    AString name;
    session.list->GetPlayListName(name);
    return !name.IsEmpty() && name.CompareNoCase(GetLibraryPlayListName()) != 0 &&
           name.CompareNoCase(ADirTunesRemote::kMainLibraryName) != 0;
}
