// Fetching a 200 MB song from a server process of its own over loopback, side by side with a raw TCP
// copy of the same file in the same run: the server reads the file and sends it, this side writes it
// beside its target, flushes it to the disk and renames it over the target, both ways alike. Beside
// the speed, the server's memory: its peak resident size during a fetch above its size when idle.
// Goals: the link at least 0.8 of the raw copy's speed, the server at most 64 MB above idle.
#include "TransferFiles.h"
#include "foundation/AProgress.h"
#include "foundation/AString.h"
#include "foundation/RemoteFileCache.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/CASockets.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/FileRequestHandlers.h"
#include "server/requests/MusicFolderPolicy.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using nativesockets::Deadline;
using nativesockets::IoStatus;
using nativesockets::SocketHandle;

constexpr size_t kSongSize = 200u << 20;
constexpr int kWaitMs = 30000;
constexpr double kRatioGoal = 0.8;
constexpr double kMemoryGoalMB = 64;



void WriteSong(const std::string& path) {
    std::vector<uint8_t> chunk(kRawChunk);
    std::mt19937 random(42);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (size_t done = 0; fd >= 0 && done < kSongSize; done += kRawChunk) {
        for (auto& byte : chunk)
            byte = static_cast<uint8_t>(random());
        if (!WriteWholeFile(fd, chunk.data(), chunk.size()))
            std::abort();
    }
    close(fd);
}

// The raw peer of the server: each connection gets the file's bytes, read from the disk as they go.
void ServeRawCopies(const SocketHandle& listener, const std::string& song) {
    for (;;) {
        SocketHandle connection;
        if (nativesockets::AcceptConnection(listener, Deadline::Never(), nullptr, connection) != IoStatus::Done)
            return;
        SendFileBytes(connection, song, kWaitMs);
    }
}

// The server process: the link's file requests on one port, raw copies on another, until it is killed.
[[noreturn]] void Serve(const std::string& music, const std::string& song, int ready) {
    auto server = std::make_unique<ASyncWSocksServer>(kBenchServerAddress, nullptr);
    RegisterFileRequestHandlers(server->Dispatcher(), std::make_shared<MusicFolderPolicy>(AString(music)));
    std::mt19937 random(std::random_device{}());
    uint16_t ports[2] = {0, 0};
    for (int attempt = 0; attempt < 100 && ports[0] == 0; ++attempt) {
        server->SetBasePort(static_cast<uint16_t>(20000 + random() % 12000));
        if (server->StartListening() && !server->BindFailed())
            ports[0] = server->GetBasePort();
        else
            server->StopListening();
    }
    const SocketHandle raw = nativesockets::ListenTcp(kBenchServerAddress, 0);
    ports[1] = nativesockets::BoundPort(raw);
    if (write(ready, ports, sizeof ports) != sizeof ports)
        _exit(1);
    ServeRawCopies(raw, song);
    _exit(0);
}

// Resident sizes of a process in MB, from the kernel's account of it.
double StatusMB(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) / 1024.0;
    }
    return -1;
}

// Starts the peak resident size of a process afresh from its size now.
void ResetPeak(pid_t pid) {
    std::ofstream("/proc/" + std::to_string(pid) + "/clear_refs") << "5";
}

// The server process and its 200 MB song, made once for the run, before this process starts a thread
// of its own.
struct FetchStage {
    FetchStage() : folder(MakeBenchFolder()), music(folder + "/Music"), song(music + "/song.mp3") {
        mkdir(music.c_str(), 0755);
        WriteSong(song);
        int ready[2];
        if (pipe(ready) != 0)
            std::abort();
        server = fork();
        if (server == 0)
            Serve(music, song, ready[1]);
        uint16_t ports[2] = {0, 0};
        if (read(ready[0], ports, sizeof ports) != sizeof ports || ports[0] == 0)
            std::abort();
        linkPort = ports[0];
        rawPort = ports[1];
    }
    ~FetchStage() {
        kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
        std::system(("rm -rf '" + folder + "'").c_str());
    }

    std::string folder;
    std::string music;
    std::string song;
    pid_t server = -1;
    uint16_t linkPort = 0;
    uint16_t rawPort = 0;
};

FetchStage& TheStage() {
    static FetchStage stage;
    return stage;
}

// Received into a new file beside the target, flushed and renamed over it, as the link's fetch does.
bool RawFetch(const std::string& target) {
    const SocketHandle socket =
        nativesockets::ConnectTcp(kBenchServerAddress, TheStage().rawPort, Deadline::AfterMs(kWaitMs), nullptr);
    return socket.IsOpen() && ReceiveIntoReplacement(socket, target, kSongSize, kWaitMs);
}


double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_Fetch200MBVersusRawTcp(benchmark::State& state) {
    FetchStage& stage = TheStage();
    CASockets client(kBenchClientAddress);
    client.SetBasePort(stage.linkPort);
    RemoteFileCache::Instance().SetPeer(&client);
    AProgress progress;
    const std::string target = stage.folder + "/fetched.mp3";
    const AString source("?127.0.0.2:" + stage.song);
    std::vector<double> ratios;
    std::vector<double> linkSeconds;
    std::vector<double> rawSeconds;
    double peakAboveIdle = 0;
    bool ok = true;
    for (auto _ : state) {
        RemoteFileCache::Instance().Clear();
        sync(); // both start with no dirty pages waiting
        const double idle = StatusMB(stage.server, "VmRSS");
        ResetPeak(stage.server);
        const double ours = SecondsOfWork(
            [&] { return RemoteFileCache::Instance().MoveRemoteFileLocal(source, AString(target), &progress) == 0; },
            ok);
        peakAboveIdle = std::max(peakAboveIdle, StatusMB(stage.server, "VmHWM") - idle);
        sync();
        const double raw = SecondsOfWork([&] { return RawFetch(target); }, ok);
        ratios.push_back(raw / ours);
        linkSeconds.push_back(ours);
        rawSeconds.push_back(raw);
    }
    RemoteFileCache::Instance().SetPeer(nullptr);
    if (!ok)
        state.SkipWithError("a fetch failed");
    state.counters["link_ms"] = Median(linkSeconds) * 1000;
    state.counters["raw_ms"] = Median(rawSeconds) * 1000;
    state.counters["link_vs_raw"] = Median(ratios);
    state.counters["goal_ratio_min"] = kRatioGoal;
    state.counters["server_peak_MB"] = peakAboveIdle;
    state.counters["goal_peak_MB_max"] = kMemoryGoalMB;
}
BENCHMARK(BM_Fetch200MBVersusRawTcp)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
