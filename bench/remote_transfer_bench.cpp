// Sending a 50 MB song over loopback through the remote link, side by side with a raw TCP copy of the
// same bytes in the same run: once as a whole file request (read, Base64, checksums, written and synced
// beside its target on the other side, against a raw copy that reads and writes the files alike), and
// once as one message from memory to memory (against raw bytes from memory to memory).
#include "TransferFiles.h"
#include "foundation/AProgress.h"
#include "foundation/AString.h"
#include "foundation/RemoteFileCache.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/CASockets.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/SocketChannel.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/FileRequestHandlers.h"
#include "server/requests/MusicFolderPolicy.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using nativesockets::Deadline;
using nativesockets::IoStatus;
using nativesockets::SocketHandle;

constexpr size_t kSongSize = 50u << 20;
constexpr uint32_t kServerAddress = kBenchServerAddress;
constexpr uint32_t kClientAddress = kBenchClientAddress;

std::vector<uint8_t> RandomBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    std::mt19937 random(42);
    for (auto& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

// A server on 127.0.0.2 serving a music folder, and a 50 MB song beside it.
class Stage {
public:
    static Stage& Get() {
        static Stage stage;
        return stage;
    }
    std::string folder;
    std::string source;
    std::string music;
    std::vector<uint8_t> song = RandomBytes(kSongSize);
    std::shared_ptr<MusicFolderPolicy> policy;
    std::unique_ptr<ASyncWSocksServer> server;

private:
    Stage() : folder(MakeBenchFolder()), source(folder + "/song.mp3"), music(folder + "/Music") {
        mkdir(music.c_str(), 0755);
        const int fd = open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || !WriteWholeFile(fd, song.data(), song.size()))
            std::abort();
        close(fd);
        policy = std::make_shared<MusicFolderPolicy>(AString(music));
        std::mt19937 random(std::random_device{}());
        for (int attempt = 0; attempt < 100; ++attempt) {
            server = std::make_unique<ASyncWSocksServer>(kServerAddress, nullptr);
            RegisterFileRequestHandlers(server->Dispatcher(), policy);
            server->SetBasePort(static_cast<uint16_t>(20000 + random() % 12000));
            if (server->StartListening() && !server->BindFailed())
                return;
        }
        std::abort();
    }
    ~Stage() {
        server.reset();
        std::system(("rm -rf '" + folder + "'").c_str());
    }
};

// One connection from 127.0.0.1's side to a listener on 127.0.0.2, the receiving end run by `receive`.
bool OverLoopback(const std::function<bool(const SocketHandle&)>& send,
                  const std::function<bool(const SocketHandle&)>& receive) {
    const SocketHandle listener = nativesockets::ListenTcp(kServerAddress, 0);
    bool received = false;
    std::thread receiver([&] {
        SocketHandle connection;
        if (nativesockets::AcceptConnection(listener, Deadline::AfterMs(10000), nullptr, connection) ==
            IoStatus::Done)
            received = receive(connection);
    });
    const SocketHandle socket = nativesockets::ConnectTcp(kServerAddress, nativesockets::BoundPort(listener),
                                                          Deadline::AfterMs(10000), nullptr);
    const bool sent = socket.IsOpen() && send(socket);
    receiver.join();
    return sent && received;
}

// Into memory of its own, as the link's receiver gets the payload.
bool ReceiveRaw(const SocketHandle& socket, size_t size) {
    const std::unique_ptr<uint8_t[]> received(new uint8_t[size]);
    uint8_t* out = received.get();
    for (size_t done = 0; done < size;) {
        const auto got =
            nativesockets::ReceiveSome(socket, std::span(out + done, std::min(kRawChunk, size - done)),
                                       Deadline::AfterMs(10000), nullptr);
        if (got.status != IoStatus::Done)
            return false;
        done += got.count;
    }
    return true;
}

// The raw peer of the file request: read the file, send its bytes, write them on the other side into a
// new file beside the target, sync it and rename it over the target, as the server does.
bool RawFileCopy(const std::string& source, const std::string& target) {
    return OverLoopback([&](const SocketHandle& socket) { return SendFileBytes(socket, source, 10000); },
                        [&](const SocketHandle& socket) {
                            return ReceiveIntoReplacement(socket, target, kSongSize, 10000);
                        });
}

void Report(benchmark::State& state, double ours, double raw, bool ok) {
    if (!ok)
        state.SkipWithError("a transfer failed");
    const double megabytes =
        static_cast<double>(kSongSize) / (1 << 20) * static_cast<double>(state.iterations());
    state.counters["link_MBps"] = megabytes / ours;
    state.counters["raw_MBps"] = megabytes / raw;
    state.counters["link_vs_raw"] = raw / ours;
}

// The song sent as request 3002 and written over its target on the server, against a raw copy.
void BM_SendSong50MBVersusRawTcp(benchmark::State& state) {
    Stage& stage = Stage::Get();
    CASockets client(kClientAddress);
    client.SetBasePort(stage.server->GetBasePort());
    RemoteFileCache::Instance().SetPeer(&client);
    AProgress progress;
    const std::string target = stage.music + "/song.mp3";
    double ours = 0;
    double raw = 0;
    bool ok = true;
    for (auto _ : state) {
        sync(); // both start with no dirty pages waiting
        ours += SecondsOfWork(
            [&] {
                return RemoteFileCache::Instance().CopyWithProgressRemote(
                           AString(stage.source), AString("?127.0.0.2:" + target), false, &progress) == 0;
            },
            ok);
        sync();
        raw += SecondsOfWork([&] { return RawFileCopy(stage.source, target); }, ok);
    }
    RemoteFileCache::Instance().SetPeer(nullptr);
    Report(state, ours, raw, ok);
}
BENCHMARK(BM_SendSong50MBVersusRawTcp)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// One 50 MB message from memory to memory (framing, Base64, checksums), against raw bytes.
void BM_Message50MBVersusRawTcp(benchmark::State& state) {
    const std::vector<uint8_t>& song = Stage::Get().song;
    double ours = 0;
    double raw = 0;
    bool ok = true;
    for (auto _ : state) {
        ours += SecondsOfWork(
            [&] {
                return OverLoopback(
                    [&](const SocketHandle& socket) {
                        SocketChannel channel(socket, nullptr);
                        return MessageWriter::SendFramed(channel, 3002, song, false, nullptr, 10000) == 0;
                    },
                    [&](const SocketHandle& socket) {
                        SocketChannel channel(socket, nullptr);
                        MessageReader reader(channel);
                        WireHeader header;
                        std::vector<uint8_t> payload;
                        return reader.ReadHeader(header, Deadline::AfterMs(10000)) == 0 &&
                               reader.ReadPayload(header, payload, 10000, nullptr) == 0 &&
                               payload.size() == kSongSize;
                    });
            },
            ok);
        raw += SecondsOfWork(
            [&] {
                return OverLoopback(
                    [&](const SocketHandle& socket) {
                        return nativesockets::SendAll(socket, song, 10000, nullptr).status == IoStatus::Done;
                    },
                    [&](const SocketHandle& socket) { return ReceiveRaw(socket, kSongSize); });
            },
            ok);
    }
    Report(state, ours, raw, ok);
}
BENCHMARK(BM_Message50MBVersusRawTcp)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
