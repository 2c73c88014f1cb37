#include "server/requests/AddITunesReadyFileHandler.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/songlists/ADirTunes.h"
#include "server/requests/LibraryPathPolicy.h"
#include "server/requests/PrivateTempFolder.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"

#include <optional>

namespace {

constexpr size_t kMaxFileNameBytes = 255;

struct ReadyFileRequest {
    uint32_t sessionID = 0;
    AString name;
    AString target;
    uint32_t hasData = 0;
    uint64_t modTime = 0;
    std::span<const uint8_t> bytes;
};

bool ReadRequest(std::span<const uint8_t> payload, ReadyFileRequest& request) {
    RequestFields fields(payload);
    if (!fields.ReadU32(request.sessionID) || fields.ReadText(request.name) != 0 ||
        fields.ReadText(request.target) != 0 || !fields.ReadU32(request.hasData))
        return false;
    if (request.hasData == 0)
        return true;
    uint32_t length = 0;
    return fields.ReadU64(request.modTime) && fields.ReadU32(length) && fields.ReadBytes(length, request.bytes);
}

// A name of one level: no folder in front of it, none to climb to.
bool IsPlainFileName(const AString& name) {
    const std::string bytes = name.ToSystem8Bit();
    return !bytes.empty() && bytes != "." && bytes != ".." && bytes.size() <= kMaxFileNameBytes &&
           bytes.find('/') == std::string::npos && bytes.find('\0') == std::string::npos;
}

int WriteSentFile(const AString& path, const ReadyFileRequest& request) {
    AFile file;
    if (const int result = file.Open(path, AFile::kModeWrite, false))
        return result;
    if (const int result = file.Write(request.bytes.data(), static_cast<uint32_t>(request.bytes.size())))
        return result;
    if (const int result = file.Close(true))
        return result;
    return SetFileModTime(path, request.modTime, false);
}

WireMessage PlacedAnswer(uint32_t copied, const AString& placed) {
    AMemFile answer;
    int result = recordio::WriteU32(answer, copied);
    if (result == 0)
        result = placed.Serialize(answer);
    return result == 0 ? WireMessage::Success(StreamBytes(answer)) : WireMessage::Status(result);
}

} // namespace

WireMessage AddITunesReadyFileHandler::Serve(std::span<const uint8_t> payload) {
    ReadyFileRequest request;
    if (!ReadRequest(payload, request))
        return Refused();
    WireMessage refusal;
    const SessionTable::Lease session = TakePrepared(request.sessionID, refusal);
    if (!session)
        return refusal;
    std::optional<PrivateTempFolder> folder;
    AString source;
    if (request.hasData) {
        if (!IsPlainFileName(request.name))
            return WireMessage::Status(kErrorInvalidPath);
        folder.emplace();
        if (!folder->IsReady())
            return WireMessage::Status(kErrorCreateDirectory);
        source = folder->File(request.name);
        if (const int result = WriteSentFile(source, request))
            return WireMessage::Status(result);
    } else {
        const auto resolved = m_policy->Resolve(request.name, PathPolicy::Access::Read);
        if (!resolved)
            return WireMessage::Status(kErrorInvalidPath);
        source = *resolved;
    }
    ADirTunes& list = *session->list;
    AString musicFolder;
    list.GetMusicFolder(musicFolder);
    AString placed;
    uint32_t copied = 0;
    if (const int result = list.GetMusicFolderPath(musicFolder, source, placed, request.target, copied, CancelCallback()))
        return WireMessage::Status(result);
    return PlacedAnswer(copied, placed);
}
