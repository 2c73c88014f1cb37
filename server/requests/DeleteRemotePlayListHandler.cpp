#include "server/requests/DeleteRemotePlayListHandler.h"

#include "library/itunes/ITunes.h"
#include "server/requests/LibraryPlayLists.h"
#include "server/requests/RequestFields.h"
#include "server/requests/ServedLibrary.h"

WireMessage DeleteRemotePlayListHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    AString name;
    if (const int result = fields.ReadText(name))
        return WireMessage::Status(result);
    ITunes client;
    if (const int result = LoadLibraryPlayLists(*m_library, client))
        return WireMessage::Status(result);
    if (FindUserPlayList(client, name, true) < 0)
        return WireMessage::Status(0);
    return WireMessage::Status(client.DeletePlayListByName(name));
}
