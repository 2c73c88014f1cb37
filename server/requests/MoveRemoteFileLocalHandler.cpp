#include "server/requests/MoveRemoteFileLocalHandler.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RemoteFileCache.h"
#include "server/requests/PathPolicy.h"
#include "server/requests/RequestFields.h"

#include <algorithm>

namespace {

constexpr uint64_t kPartSize = RemoteFileCache::kFetchPartSize;
// u64 modification time, u32 more parts, u32 length.
constexpr size_t kPartHeadSize = 16;

// Reads the part into an answer after its head.
int ReadPart(const AString& path, uint32_t part, std::vector<uint8_t>& answer) {
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    const uint64_t length = file.GetLength();
    const uint64_t offset = part * kPartSize;
    // Part 0 of an empty file is empty; any other part must begin inside the file.
    if (part > 0 && offset >= length)
        return kErrorEndOfStream;
    const uint64_t rest = length - offset;
    const auto partLength = static_cast<uint32_t>(std::min(rest, kPartSize));
    if (const int result = file.Seek(offset))
        return result;
    answer.resize(kPartHeadSize + partLength);
    StoreLE64(answer.data(), GetFileModTime(path));
    StoreLE32(answer.data() + 8, rest > kPartSize ? 1 : 0);
    StoreLE32(answer.data() + 12, partLength);
    return file.Read(answer.data() + kPartHeadSize, partLength);
}

} // namespace

WireMessage MoveRemoteFileLocalHandler::Serve(std::span<const uint8_t> payload) {
    RequestFields fields(payload);
    AString path;
    uint32_t part = 0;
    if (fields.ReadText(path) != 0 || !fields.ReadU32(part))
        return WireMessage::Status(kErrorEndOfStream);
    const auto resolved = m_policy.Resolve(path, PathPolicy::Access::Read);
    if (!resolved)
        return WireMessage::Status(kErrorInvalidPath);
    std::vector<uint8_t> answer;
    if (const int result = ReadPart(*resolved, part, answer))
        return WireMessage::Status(result);
    return WireMessage::Success(std::move(answer));
}
