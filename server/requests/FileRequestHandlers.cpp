#include "server/requests/FileRequestHandlers.h"

#include "remote/LinkCodes.h"
#include "server/requests/CopyWithProgressRemoteHandler.h"
#include "server/requests/GetRemoteFileInfoHandler.h"
#include "server/requests/MoveRemoteFileLocalHandler.h"
#include "server/requests/ReadRemoteTagsHandler.h"
#include "server/requests/RequestDispatcher.h"

void RegisterFileRequestHandlers(RequestDispatcher& dispatcher, const std::shared_ptr<const PathPolicy>& policy) {
    dispatcher.Register(linkcodes::kReadRemoteTags, std::make_unique<ReadRemoteTagsHandler>(policy));
    dispatcher.Register(linkcodes::kGetRemoteFileInfo, std::make_unique<GetRemoteFileInfoHandler>(policy));
    dispatcher.Register(linkcodes::kCopyWithProgressRemote,
                        std::make_unique<CopyWithProgressRemoteHandler>(policy));
    dispatcher.Register(linkcodes::kMoveRemoteFileLocal,
                        std::make_unique<MoveRemoteFileLocalHandler>(policy));
}
