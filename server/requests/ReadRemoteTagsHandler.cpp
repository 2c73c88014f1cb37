#include "server/requests/ReadRemoteTagsHandler.h"

#include "foundation/ErrorCodes.h"
#include "library/tags/ID3.h"
#include "server/requests/PathPolicy.h"
#include "server/requests/RequestFields.h"

WireMessage ReadRemoteTagsHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    AString path;
    if (fields.ReadText(path) != 0)
        return WireMessage::Status(kErrorEndOfStream);
    const auto resolved = m_policy->Resolve(path, PathPolicy::Access::Read);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    ID3 tags;
    if (const int result = tags.Read(*resolved))
        return WireMessage::Status(result);
    AMemFile record;
    if (const int result = tags.Serialize(record))
        return WireMessage::Status(result);
    return WireMessage::Success(StreamBytes(record));
}
