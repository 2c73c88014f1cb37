#include "server/requests/InitWPathHandler.h"

#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirTunes.h"
#include "remote/RemoteSongList.h"
#include "server/requests/BusyFlag.h"
#include "server/requests/CaseFoldingVolumes.h"
#include "server/requests/RemoteSession.h"
#include "server/requests/RequestFields.h"
#include "server/requests/ServedLibrary.h"

namespace {

constexpr double kReadShare = 0.3;
constexpr double kBuildShare = 0.3;
constexpr double kSendShare = 0.4;
// The key of a song the library does not know.
constexpr const char* kUnknownKey = "/";

// The songs of the sorted list as the answer gives them; a song deleted since the list was read, or
// without a file, is left out.
std::vector<RemoteSong> SongsOf(ADirTunes& list, const AString& serverAddress) {
    std::vector<RemoteSong> songs;
    const int count = list.GetCount();
    songs.reserve(static_cast<size_t>(count));
    const AString pathPrefix = AString("?") + serverAddress + ":";
    CaseFoldingVolumes volumes;
    for (int i = 0; i < count; ++i) {
        list.GetProgress().SetPos(static_cast<double>(i) / count);
        const AString* entry = list.GetEntry(i);
        AString path;
        if (!entry || entry->IsEmpty() || list.GetFullPath(*entry, path, 1) != 0)
            continue;
        RemoteSong song;
        song.key = list.GetSongKey(*entry);
        if (song.key.IsEmpty())
            song.key = kUnknownKey;
        song.entry = *entry + ":" + AString::FromUInt(static_cast<uint32_t>(songs.size()));
        song.path = pathPrefix + path;
        GetFileInfo(path, song.info);
        volumes.Mark(path, song.info);
        songs.push_back(std::move(song));
    }
    return songs;
}

} // namespace

WireMessage InitWPathHandler::Serve(std::span<const uint8_t> payload) {
    uint32_t id = 0;
    // Two copies of the client's open flag, which the server has no use for.
    uint8_t flag = 0;
    uint8_t copy = 0;
    AString root;
    if (!ReadIDFlagsAndText(payload, id, flag, copy, root))
        return Refused();
    WireMessage refusal;
    const SessionTable::Lease session = Take(id, refusal);
    if (!session)
        return refusal;
    const BusyFlag busy(m_busy);
    if (!busy.Taken())
        return Busy();
    ADirTunes& list = *session->list;
    AProgress& progress = list.GetProgress();

    const AString reading("Start PopulateFileList...");
    progress.PushRange(kReadShare, &reading);
    if (!root.IsEmpty())
        list.SetRootPath(root);
    const int result = m_library->WhileUnreachable([&list] { return list.ReadDirectory(CancelCallback(), 1); });
    progress.PopRange();
    if (result != 0)
        return WireMessage::Status(result);

    const AString building("Start Make Send Buffer...");
    progress.PushRange(kBuildShare, &building);
    list.Sort(1);
    const std::vector<RemoteSong> songs = SongsOf(list, session->serverAddress);
    progress.PopRange();

    const AString sending("Start Send Buffer...");
    progress.PushRange(kSendShare, &sending);
    AMemFile answer(AMemFile::kDefaultGrowth);
    const int written = RemoteSongList::Write(answer, songs);
    const AString ended("End PopulateFileList.");
    progress.PopRange(&ended);
    if (written != 0)
        return WireMessage::Status(written);
    return WireMessage::Success(StreamBytes(answer), session->packAnswers);
}
