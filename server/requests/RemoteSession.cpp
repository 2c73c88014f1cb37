#include "server/requests/RemoteSession.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/ADirTunes.h"
#include "remote/ADirTunesRemote.h"
#include "server/requests/RequestFields.h"

namespace {

// The host of a remote path: something, and no ':' that would end it early.
bool IsServerAddress(const AString& address) {
    return !address.IsEmpty() && address.Find(u':') < 0;
}

// The library under any of its names: the session then lists the whole library.
bool IsLibraryName(const AString& name) {
    return name.CompareNoCase(GetLibraryPlayListName()) == 0 ||
           name.CompareNoCase(ADirTunesRemote::kMainLibraryName) == 0;
}

int ReadSettings(RequestFields& fields, ADirTunes& list) {
    const AString root = list.GetRootPath();
    const AString removedFiles = list.GetRemovedFilesFolder();
    const int result = list.ADirSong::Load(fields.Stream(), 0);
    list.SetRootPath(root);
    list.SetRemovedFilesFolder(removedFiles);
    list.SetKeepRemovedFiles(1);
    // The entries of the client's own list mean nothing here.
    list.ADir::Clear();
    return result;
}

} // namespace

RemoteSession::~RemoteSession() = default;

int RemoteSession::Read(std::span<const uint8_t> payload, AProgress* progress,
                        std::unique_ptr<RemoteSession>& session) {
    auto read = std::make_unique<RemoteSession>();
    read->list = std::make_unique<ADirTunes>(progress);
    RequestFields fields(payload);
    uint32_t pack = 0;
    uint32_t version = 0;
    if (!fields.ReadU32(pack) || !fields.ReadU32(version))
        return kErrorEndOfStream;
    if (version == ADirTunesRemote::kRecordWord) {
        if (const int result = ReadSettings(fields, *read->list))
            return result;
    }
    AString playList;
    AString address;
    if (fields.ReadText(playList) != 0 || fields.ReadText(read->clientHost) != 0 || fields.ReadText(address) != 0 ||
        fields.ReadText(read->serverAddress) != 0)
        return kErrorEndOfStream;
    if (address.GetLength() > kMaxAddressLength || !IsServerAddress(read->serverAddress))
        return kErrorEndOfStream;
    read->list->SetPlayListName(IsLibraryName(playList) ? AString() : playList);
    read->packAnswers = pack != 0;
    read->clientAddress = address.ToSystem8Bit();
    session = std::move(read);
    return 0;
}
