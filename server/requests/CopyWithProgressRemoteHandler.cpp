#include "server/requests/CopyWithProgressRemoteHandler.h"

#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "server/requests/PathPolicy.h"
#include "server/requests/RequestFields.h"

namespace {

struct SentFile {
    uint64_t modTime = 0;
    AString target;
    std::span<const uint8_t> bytes;
};

bool ReadSentFile(std::span<const uint8_t> payload, SentFile& file) {
    RequestFields fields(payload);
    uint32_t unused = 0;
    uint32_t length = 0;
    AString sourceName;
    return fields.ReadU32(unused) && fields.ReadU64(file.modTime) && fields.ReadText(sourceName) == 0 &&
           fields.ReadText(file.target) == 0 && fields.ReadU32(length) &&
           fields.ReadBytes(length, file.bytes);
}

int WriteSentFile(const AString& target, const SentFile& file) {
    AReplacingFile replacement;
    if (const int result = replacement.Begin(target, true))
        return result;
    if (const int result = replacement.Write(file.bytes.data(), static_cast<uint32_t>(file.bytes.size())))
        return result;
    if (const int result = replacement.Commit())
        return result;
    return SetFileModTime(target, file.modTime, true);
}

} // namespace

WireMessage CopyWithProgressRemoteHandler::Serve(std::span<const uint8_t> payload) {
    SentFile file;
    if (!ReadSentFile(payload, file))
        return WireMessage::Status(kErrorEndOfStream);
    const auto resolved = m_policy.Resolve(file.target, PathPolicy::Access::Write);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    return WireMessage::Status(WriteSentFile(*resolved, file));
}
