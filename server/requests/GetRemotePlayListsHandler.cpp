#include "server/requests/GetRemotePlayListsHandler.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/LibraryPlayListName.h"
#include "remote/LinkCodes.h"
#include "server/requests/BusyFlag.h"
#include "server/requests/LibraryPlayLists.h"
#include "server/requests/ServedLibrary.h"

// The library playlist first, then each playlist of the library: a user playlist, or another kind.
std::vector<RemotePlayList> GetRemotePlayListsHandler::ReadPlayLists(ITunes& client) const {
    std::vector<RemotePlayList> playLists{{GetLibraryPlayListName(), RemotePlayList::kUser}};
    const int count = client.GetPlayListCount() + 1;
    for (int i = 0; i < client.GetPlayListCount(); ++i) {
        if (m_progress)
            m_progress->SetPos(static_cast<double>(i + 1) / count);
        ITunesPlayList* playList = client.GetPlayList(i);
        AString name;
        playList->GetName(name, 0);
        playLists.push_back(
            {name, playList->GetKind() == ITunesPlayList::kUser ? RemotePlayList::kUser : RemotePlayList::kOther});
    }
    return playLists;
}

WireMessage GetRemotePlayListsHandler::Serve(std::span<const uint8_t>) {
    const BusyFlag busy(m_busy);
    if (!busy.Taken())
        return WireMessage::Status(kErrorEndOfStream, static_cast<uint32_t>(linkcodes::kPlayListsBusy));
    const AString starting("Start Get Remote Playlists...");
    const AString ended("End Get Remote Playlist.");
    if (m_progress)
        m_progress->PushRange(1.0, &starting);
    ITunes client;
    const int result = LoadLibraryPlayLists(*m_library, client);
    WireMessage answer =
        result == 0 ? WireMessage::Success(RemotePlayLists::Write(ReadPlayLists(client))) : WireMessage::Status(result);
    if (m_progress)
        m_progress->PopRange(&ended);
    return answer;
}
