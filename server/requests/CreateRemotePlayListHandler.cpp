#include "server/requests/CreateRemotePlayListHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "server/requests/LibraryPlayLists.h"
#include "server/requests/RequestFields.h"
#include "server/requests/ServedLibrary.h"

namespace {

constexpr const char* kLastSyncName = "Last Sync";

} // namespace

WireMessage CreateRemotePlayListHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    AString name;
    if (const int result = fields.ReadText(name))
        return WireMessage::Status(result);
    if (name.CompareNoCase(kLastSyncName) == 0)
        return WireMessage::Status(0);
    ITunes client;
    if (const int result = LoadLibraryPlayLists(*m_library, client))
        return WireMessage::Status(result);
    if (FindUserPlayList(client, name, false) >= 0)
        return WireMessage::Status(0);
    return WireMessage::Status(client.CreatePlayList(name));
}
