#include "server/requests/LibraryRequestHandlers.h"

#include "remote/LinkCodes.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/AddITunesReadyFileHandler.h"
#include "server/requests/AddSongFromDiskHandler.h"
#include "server/requests/CreateRemotePlayListHandler.h"
#include "server/requests/DeleteRemoteFileHandler.h"
#include "server/requests/DeleteRemotePlayListHandler.h"
#include "server/requests/EndSessionHandler.h"
#include "server/requests/FileRequestHandlers.h"
#include "server/requests/GetRemotePlayListsHandler.h"
#include "server/requests/InitWPathHandler.h"
#include "server/requests/LibraryPathPolicy.h"
#include "server/requests/RemoteDeleteFileHandler.h"
#include "server/requests/SessionTable.h"
#include "server/requests/StartSessionHandler.h"
#include "server/requests/UpdateRemoteSongInfoHandler.h"

void RegisterLibraryRequestHandlers(ASyncWSocksServer& server, std::shared_ptr<const ServedLibrary> library,
                                    AProgress* progress, std::shared_ptr<SessionTable> sessions) {
    using namespace linkcodes;
    if (!sessions)
        sessions = std::make_shared<SessionTable>();
    const auto policy = std::make_shared<const LibraryPathPolicy>(library);
    RequestDispatcher& dispatcher = server.Dispatcher();
    RegisterFileRequestHandlers(dispatcher, policy);
    dispatcher.Register(kStartSession, std::make_unique<StartSessionHandler>(sessions, server, progress));
    dispatcher.Register(kEndSession, std::make_unique<EndSessionHandler>(sessions));
    dispatcher.Register(kGetRemotePlayLists, std::make_unique<GetRemotePlayListsHandler>(library, progress));
    dispatcher.Register(kInitWPath, std::make_unique<InitWPathHandler>(sessions, library));
    dispatcher.Register(kAddITunesReadyFile, std::make_unique<AddITunesReadyFileHandler>(sessions, library, policy));
    dispatcher.Register(kAddSongFromDisk, std::make_unique<AddSongFromDiskHandler>(sessions, library, policy));
    dispatcher.Register(kDeleteRemoteFile, std::make_unique<DeleteRemoteFileHandler>(sessions, library, policy));
    dispatcher.Register(kCreateRemotePlayList, std::make_unique<CreateRemotePlayListHandler>(library));
    dispatcher.Register(kRemoteDeleteFile, std::make_unique<RemoteDeleteFileHandler>(sessions, library));
    dispatcher.Register(kDeleteRemotePlayList, std::make_unique<DeleteRemotePlayListHandler>(library));
    dispatcher.Register(kUpdateRemoteSongInfo, std::make_unique<UpdateRemoteSongInfoHandler>(sessions, library));
}
