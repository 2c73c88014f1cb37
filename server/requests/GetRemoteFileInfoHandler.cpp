#include "server/requests/GetRemoteFileInfoHandler.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "server/requests/CaseFoldingVolumes.h"
#include "server/requests/PathPolicy.h"
#include "server/requests/RequestFields.h"

WireMessage GetRemoteFileInfoHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    AString path;
    if (const int result = fields.ReadText(path))
        return WireMessage::Status(result);
    const auto resolved = m_policy->Resolve(path, PathPolicy::Access::Read);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    FileInfo info;
    GetFileInfo(*resolved, info);
    CaseFoldingVolumes().Mark(*resolved, info);
    AMemFile record;
    if (const int result = info.Serialize(record))
        return WireMessage::Status(result);
    return WireMessage::Success(StreamBytes(record));
}
