#include "server/requests/GetRemotePlayListsHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/LibraryPlayListName.h"
#include "remote/LinkCodes.h"
#include "remote/RemotePlayLists.h"
#include "server/requests/BusyFlag.h"
#include "server/requests/LibraryPlayLists.h"
#include "server/requests/ServedLibrary.h"

WireMessage GetRemotePlayListsHandler::Serve(std::span<const uint8_t>) {
    const BusyFlag busy(m_busy);
    if (!busy.Taken())
        return WireMessage::Status(kErrorEndOfStream, static_cast<uint32_t>(linkcodes::kPlayListsBusy));
    ITunes client;
    if (const int result = LoadLibraryPlayLists(*m_library, client))
        return WireMessage::Status(result);
    std::vector<RemotePlayList> playLists{{GetLibraryPlayListName(), RemotePlayList::kUser}};
    for (int i = 0; i < client.GetPlayListCount(); ++i) {
        ITunesPlayList* playList = client.GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        playLists.push_back(
            {name, playList->GetKind() == ITunesPlayList::kUser ? RemotePlayList::kUser : RemotePlayList::kOther});
    }
    return WireMessage::Success(RemotePlayLists::Write(playLists));
}
