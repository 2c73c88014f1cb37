#pragma once
// The base of the handlers of a session's requests. Each reads its whole request before it takes the
// session, and holds the session through a lease for as long as it serves it.

#include "server/requests/RequestHandler.h"
#include "server/requests/SessionTable.h"

#include <memory>

class AString;

class ServedLibrary;

class SessionRequestHandler : public RequestHandler {
public:
    SessionRequestHandler(std::shared_ptr<SessionTable> sessions, std::shared_ptr<const ServedLibrary> library)
        : m_sessions(std::move(sessions)), m_library(std::move(library)) {}

protected:
    // The answer to a malformed request, or to one whose session is not in the table: -1 and the u32 0.
    static WireMessage Refused();
    // The answer to a request whose session another request uses: -1 and the u32 -8996.
    static WireMessage Busy();
    // The session of `id`. An empty lease when the request is refused, with its answer.
    SessionTable::Lease Take(uint32_t id, WireMessage& refusal) const;
    // Connects the session's list to the library, reading the library into it first when it was never
    // read: 0, or the code of the connection or the read.
    int Prepare(RemoteSession& session) const;
    // The session of `id`, prepared. An empty lease when the request is refused, with its answer.
    SessionTable::Lease TakePrepared(uint32_t id, WireMessage& refusal) const;
    // A request of a session id and a text (1007, 1008): false when it is malformed.
    static bool ReadIDAndText(std::span<const uint8_t> payload, uint32_t& id, AString& text);
    // A request of a session id, two flag bytes and a text (1005, 1010): false when it is malformed.
    static bool ReadIDFlagsAndText(std::span<const uint8_t> payload, uint32_t& id, uint8_t& first, uint8_t& second,
                                   AString& text);
    // Whether the session's list is limited to a playlist (not the library under any of its names).
    static bool IsLimitedToPlayList(const RemoteSession& session);

    std::shared_ptr<SessionTable> m_sessions;
    std::shared_ptr<const ServedLibrary> m_library;
};
