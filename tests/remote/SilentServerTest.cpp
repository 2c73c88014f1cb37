// A server that falls silent at each step of working with a remote library: the client's request ends
// within its time with an error that says so, never later, and is not sent again; a cancel ends a
// request that waits at once.
#include "FallingSilentServer.h"
#include "TestBytes.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "foundation/RemoteFileCache.h"
#include "remote/ADirTunesRemote.h"
#include "remote/CASockets.h"
#include "remote/FoundHost.h"
#include "remote/LinkCodes.h"
#include "remote/RemoteSongList.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;
using Step = FallingSilentServer::Step;

namespace {

constexpr uint32_t kClientAddress = 0x7F000001;
constexpr int kSilenceMs = 1000;
// How long past its time a request may take to end on a loaded machine (a song is read and sent
// before the silence begins).
constexpr auto kLate = 8s;
constexpr uint64_t kFileSize = 200000;

std::vector<uint8_t> Bytes(const AMemFile& stream) {
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

WireMessage SessionStarted() {
    std::vector<uint8_t> payload(8);
    StoreLE32(payload.data(), 77);
    StoreLE32(payload.data() + 4, 1);
    return WireMessage::Success(payload);
}

// A song list long enough to go in many pieces.
WireMessage SongList() {
    std::vector<RemoteSong> songs;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "Song " + std::to_string(i);
        songs.push_back({AString("\\Rock\\Band\\" + name + "?" + std::to_string(i) + ":" + std::to_string(i)),
                         AString("/0/0_0/0/*/*"), AString("?127.0.0.2:/music/" + name + ".mp3"),
                         FileInfo{1, 0, 1, 0, 1000, 3600000000ull}});
    }
    AMemFile stream;
    RemoteSongList::Write(stream, songs);
    return WireMessage::Success(Bytes(stream));
}

WireMessage FileInformation() {
    FileInfo info{1, 0, 1, 0, kFileSize, 3600000000ull};
    AMemFile stream;
    info.Serialize(stream);
    return WireMessage::Success(Bytes(stream));
}

WireMessage FilePart() {
    AMemFile stream;
    recordio::WriteU64(stream, 3600000000ull);
    recordio::WriteU32(stream, 0);
    recordio::WriteU32(stream, static_cast<uint32_t>(kFileSize));
    const std::vector<uint8_t> data = RandomBytes(kFileSize, 7);
    stream.Write(data.data(), static_cast<uint32_t>(data.size()));
    return WireMessage::Success(Bytes(stream));
}

// The steps of a server that answers everything well, but for the one request that `silentStep` names.
FallingSilentServer::Script AnsweringBut(int silentCode, const Step& silentStep) {
    return [silentCode, silentStep](int code) {
        if (code == silentCode)
            return silentStep;
        switch (code) {
        case linkcodes::kStartSession:
            return FallingSilentServer::Answered(SessionStarted());
        case linkcodes::kInitWPath:
            return FallingSilentServer::Answered(SongList());
        case linkcodes::kGetRemoteFileInfo:
            return FallingSilentServer::Answered(FileInformation());
        case linkcodes::kMoveRemoteFileLocal:
            return FallingSilentServer::Answered(FilePart());
        default:
            return FallingSilentServer::Answered(WireMessage::Status(0));
        }
    };
}

// Half of an answer as it goes on the wire.
size_t HalfOf(const WireMessage& answer) {
    return (answer.payload.size() * 4 / 3) / 2;
}

class SilentServerTest : public testing::Test {
protected:
    SilentServerTest() {
        link.SetLongestSilence(kSilenceMs);
        RemoteFileCache::Instance().Clear();
        RemoteFileCache::Instance().SetPeer(&link);
    }
    ~SilentServerTest() override {
        RemoteFileCache::Instance().SetPeer(nullptr);
        RemoteFileCache::Instance().Clear();
    }

    // A remote library's list of the server, reporting to `progress`.
    std::unique_ptr<ADirTunesRemote> ListOf(const FallingSilentServer& server) {
        link.SetBasePort(server.Port());
        auto list = std::make_unique<ADirTunesRemote>(&progress);
        list->SetLink(&link);
        list->SetServerAddress(FallingSilentServer::kAddressText, nullptr);
        return list;
    }

    static std::chrono::milliseconds Timed(const std::function<void()>& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    }

    CASockets link{kClientAddress};
    AProgress progress;
    TempDir dir;
};

} // namespace

TEST_F(SilentServerTest, AHelloWithoutAnAnswerFindsNoServerInTime) {
    FallingSilentServer server([](int) { return FallingSilentServer::Silent(Step::SilentAfterRequest); });
    FoundHost found;
    int result = -1;
    const auto waited = Timed([&] { result = link.QueryHost(found, FallingSilentServer::kAddressText, server.Port()); });
    EXPECT_EQ(result, 0);
    EXPECT_LT(waited, kSilenceMs * 1ms + kLate);
}

// Each request of a sync's road meets a server that stops at one step, after the steps before it went
// well: the request ends by its time with -10572, is not sent again, and the list logs what failed.
TEST_F(SilentServerTest, EachRequestEndsInTimeWhenTheServerFallsSilent) {
    const struct {
        const char* step;
        int code;
        Step silence;
        const char* logged;
    } cases[] = {
        {"after Start Session, at the song list", linkcodes::kInitWPath, FallingSilentServer::Silent(Step::SilentAfterRequest),
         "Communication Error: InitWPath\r\n"},
        {"in the middle of the song list", linkcodes::kInitWPath,
         FallingSilentServer::Silent(Step::SilentInAnswer, SongList(), HalfOf(SongList())),
         "Communication Error: InitWPath\r\n"},
        {"in the middle of a fetched file", linkcodes::kMoveRemoteFileLocal,
         FallingSilentServer::Silent(Step::SilentInAnswer, FilePart(), HalfOf(FilePart())),
         "Communication Error: MoveRemoteFileLocal\r\n"},
        {"in the middle of a sent song", linkcodes::kAddITunesReadyFile, FallingSilentServer::Silent(Step::SilentInRequest),
         "\r\nCommunication Error: AddITunesReadyFile-10572\r\n"},
        {"after a sent song, at its add", linkcodes::kAddSongFromDisk,
         FallingSilentServer::Silent(Step::SilentAfterRequest), "Communication Error: AddSongFromDisk\r\n"},
    };
    // More than the connection's buffers hold, so that the sending stops when the server takes no more.
    WriteBytes(dir.File("song.mp3"), RandomBytes(32u << 20, 3));
    WriteText(dir.File("target.mp3"), "old");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        AProgress caseProgress;
        FallingSilentServer server(AnsweringBut(c.code, c.silence));
        auto list = ListOf(server);
        list->SetProgress(&caseProgress);
        ASSERT_EQ(list->Connect(), 0);
        int result = 0;
        const auto waited = Timed([&] {
            if (c.code == linkcodes::kInitWPath) {
                result = list->Open(nullptr, 0, CancelCallback());
            } else if (c.code == linkcodes::kMoveRemoteFileLocal) {
                result = RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?127.0.0.2:/music/a.mp3"),
                                                                         dir.Text("target.mp3"), &caseProgress);
            } else if (c.code == linkcodes::kAddSongFromDisk) {
                const AString key("/0/0_0/0/*/*");
                result = list->AddSongFromDisk(AString("?127.0.0.2:/music/a.mp3"), &key);
            } else {
                AString placed;
                uint32_t added = 0;
                result = list->AddITunesReadyFile(dir.Text("song.mp3"), placed, AString(), added);
            }
        });
        EXPECT_EQ(result, kErrorRemoteSilent);
        EXPECT_LT(waited, kSilenceMs * 1ms + kLate);
        EXPECT_EQ(server.Requests(c.code), 1) << "not sent again";
        EXPECT_EQ(caseProgress.PendingLog(), c.logged);
        EXPECT_EQ(ReadBytes(dir.File("target.mp3")), Bytes("old"));
    }
}

TEST_F(SilentServerTest, StartingASessionWithASilentServerFailsInTime) {
    FallingSilentServer server(AnsweringBut(linkcodes::kStartSession, FallingSilentServer::Silent(Step::SilentAfterRequest)));
    auto list = ListOf(server);
    int result = 0;
    const auto waited = Timed([&] { result = list->Connect(); });
    EXPECT_EQ(result, kErrorRemoteSilent);
    EXPECT_LT(waited, kSilenceMs * 1ms + kLate);
    EXPECT_EQ(progress.PendingLog(), "Communication Error: Start Session\r\n") << "in the list's own progress";
}

// With the link's full patience, only the cancel ends a wait on a silent server, and it does so at once.
TEST_F(SilentServerTest, ACancelEndsAWaitingRequestAtOnce) {
    link.SetLongestSilence(CASockets::kLongestSilenceMs);
    const struct {
        const char* step;
        int code;
        Step silence;
    } cases[] = {
        {"waiting for the song list", linkcodes::kInitWPath, FallingSilentServer::Silent(Step::SilentAfterRequest)},
        {"in the middle of a fetched file", linkcodes::kMoveRemoteFileLocal,
         FallingSilentServer::Silent(Step::SilentInAnswer, FilePart(), HalfOf(FilePart()))},
    };
    WriteText(dir.File("target.mp3"), "old");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        FallingSilentServer server(AnsweringBut(c.code, c.silence));
        auto list = ListOf(server);
        ASSERT_EQ(list->Connect(), 0);
        std::atomic<bool> cancelled{false};
        const CancelCallback cancel = [&cancelled] { return cancelled ? 1 : 0; };
        std::thread user([&cancelled] {
            std::this_thread::sleep_for(300ms);
            cancelled = true;
        });
        int result = 0;
        const auto waited = Timed([&] {
            result = c.code == linkcodes::kInitWPath
                         ? list->Open(nullptr, 0, cancel)
                         : RemoteFileCache::Instance().MoveRemoteFileLocal(AString("?127.0.0.2:/music/a.mp3"),
                                                                           dir.Text("target.mp3"), nullptr, cancel);
        });
        user.join();
        EXPECT_EQ(result, kUserCancel);
        EXPECT_LT(waited, 300ms + kLate);
        EXPECT_EQ(server.Requests(c.code), 1) << "not sent again";
        EXPECT_EQ(ReadBytes(dir.File("target.mp3")), Bytes("old"));
    }
}
