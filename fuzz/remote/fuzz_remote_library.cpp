// What the client reads of a served library and what the server reads of a client: the playlist
// answer, the song-list answer as the remote library's song list takes it, and a "Start Session"
// request. Every input must end in a list, a session or an error code.
#include "foundation/RemoteFileCache.h"
#include "foundation/RemotePeer.h"
#include "remote/ADirTunesRemote.h"
#include "remote/RemotePlayLists.h"
#include "server/requests/RemoteSession.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

enum Selector : uint8_t { kPlayLists, kSongList, kStartSession, kSelectors };

// A link whose every answer is the input.
class AnsweringPeer : public RemotePeer {
public:
    explicit AnsweringPeer(std::span<const uint8_t> answer) : m_answer(answer) {}
    int ConnectW(const AString&) override { return 0; }
    int Request(int, const uint8_t*, uint32_t, std::vector<uint8_t>& answer, bool, AProgress*, int, int,
                const CancelCallback&) override {
        answer.assign(m_answer.begin(), m_answer.end());
        return 0;
    }
    void Disconnect() override {}

private:
    std::span<const uint8_t> m_answer;
};

void TakeSongList(std::span<const uint8_t> answer) {
    AnsweringPeer peer(answer);
    ADirTunesRemote list;
    list.SetLink(&peer);
    list.SetServerAddress("box", nullptr);
    if (list.Open(nullptr, 0, CancelCallback()) == 0) {
        for (int i = 0; i < list.GetCount(); ++i) {
            AString path;
            list.GetFullPath(*list.GetEntry(i), path, 0);
            list.GetSongKey(*list.GetEntry(i));
        }
    }
    RemoteFileCache::Instance().Clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::span<const uint8_t> payload(data + 1, size - 1);
    switch (data[0] % kSelectors) {
    case kPlayLists:
        RemotePlayLists::Read(payload);
        break;
    case kSongList:
        TakeSongList(payload);
        break;
    default: {
        std::unique_ptr<RemoteSession> session;
        RemoteSession::Read(payload, nullptr, session);
        break;
    }
    }
    return 0;
}
