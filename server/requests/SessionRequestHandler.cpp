#include "server/requests/SessionRequestHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/ADirTunes.h"
#include "remote/ADirTunesRemote.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/ServedLibrary.h"

WireMessage SessionRequestHandler::Refused() {
    return WireMessage::Status(kErrorEndOfStream, 0);
}

int SessionRequestHandler::Prepare(RemoteSession& session) const {
    ADirTunes& list = *session.list;
    if (ITunes* client = list.GetClient())
        return m_library->Connect(*client);
    return m_library->WhileUnreachable([&list] { return list.ReadDirectory(CancelCallback(), 1); });
}

bool SessionRequestHandler::IsLimitedToPlayList(const RemoteSession& session) {
    AString name;
    session.list->GetPlayListName(name);
    return !name.IsEmpty() && name.CompareNoCase(GetLibraryPlayListName()) != 0 &&
           name.CompareNoCase(ADirTunesRemote::kMainLibraryName) != 0;
}
