// Fetching a 200 MB song from a server process of its own over loopback, side by side with a raw TCP
// copy of the same file in the same run: the server reads the file and sends it, this side writes it
// beside its target, flushes it to the disk and renames it over the target, both ways alike. Beside
// the speed, the server's memory: its peak resident size during a fetch above its size when idle.
// Goals: the link at least 0.8 of the raw copy's speed, the server at most 64 MB above idle.
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
constexpr uint32_t kServerAddress = 0x7F000002;
constexpr uint32_t kClientAddress = 0x7F000001;
constexpr size_t kChunk = 1 << 20;
constexpr int kWaitMs = 30000;
constexpr double kRatioGoal = 0.8;
constexpr double kMemoryGoalMB = 64;

std::string MakeFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string folder = std::string(base && *base ? base : "/tmp") + "/orvantis-bench-XXXXXX";
    if (!mkdtemp(folder.data()))
        std::abort();
    return folder;
}

bool WriteWhole(int fd, const uint8_t* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

void WriteSong(const std::string& path) {
    std::vector<uint8_t> chunk(kChunk);
    std::mt19937 random(42);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (size_t done = 0; fd >= 0 && done < kSongSize; done += kChunk) {
        for (auto& byte : chunk)
            byte = static_cast<uint8_t>(random());
        if (!WriteWhole(fd, chunk.data(), chunk.size()))
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
        const int fd = open(song.c_str(), O_RDONLY);
        std::vector<uint8_t> buffer(kChunk);
        for (ssize_t got; fd >= 0 && (got = read(fd, buffer.data(), buffer.size())) > 0;) {
            if (nativesockets::SendAll(connection, std::span(buffer.data(), static_cast<size_t>(got)), kWaitMs,
                                       nullptr)
                    .status != IoStatus::Done)
                break;
        }
        close(fd);
    }
}

// The server process: the link's file requests on one port, raw copies on another, until it is killed.
[[noreturn]] void Serve(const std::string& music, const std::string& song, int ready) {
    auto server = std::make_unique<ASyncWSocksServer>(kServerAddress, nullptr);
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
    const SocketHandle raw = nativesockets::ListenTcp(kServerAddress, 0);
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

class Stage {
public:
    static Stage& Get() {
        static Stage stage;
        return stage;
    }
    std::string folder;
    std::string music;
    std::string song;
    pid_t server = -1;
    uint16_t linkPort = 0;
    uint16_t rawPort = 0;

private:
    // Forked before this process starts a thread of its own.
    Stage() : folder(MakeFolder()), music(folder + "/Music"), song(music + "/song.mp3") {
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
    ~Stage() {
        kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
        std::system(("rm -rf '" + folder + "'").c_str());
    }
};

// Received into a new file beside the target, flushed and renamed over it, as the link's fetch does.
bool RawFetch(const std::string& target) {
    const SocketHandle socket =
        nativesockets::ConnectTcp(kServerAddress, Stage::Get().rawPort, Deadline::AfterMs(kWaitMs), nullptr);
    const std::string temporary = target + ".part";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<uint8_t> buffer(kChunk);
    size_t done = 0;
    bool ok = socket.IsOpen() && fd >= 0;
    while (ok && done < kSongSize) {
        const auto got = nativesockets::ReceiveSome(socket, buffer, Deadline::AfterMs(kWaitMs), nullptr);
        ok = got.status == IoStatus::Done && WriteWhole(fd, buffer.data(), got.count);
        done += got.count;
    }
    ok = ok && fsync(fd) == 0;
    close(fd);
    return ok && rename(temporary.c_str(), target.c_str()) == 0;
}

double Seconds(const std::function<bool()>& work, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_Fetch200MBVersusRawTcp(benchmark::State& state) {
    Stage& stage = Stage::Get();
    CASockets client(kClientAddress);
    client.SetBasePort(stage.linkPort);
    RemoteFileCache::Instance().SetPeer(&client);
    AProgress progress;
    const std::string target = stage.folder + "/fetched.mp3";
    const AString source("?127.0.0.2:" + stage.song);
    std::vector<double> ratios;
    double peakAboveIdle = 0;
    bool ok = true;
    for (auto _ : state) {
        RemoteFileCache::Instance().Clear();
        sync(); // both start with no dirty pages waiting
        const double idle = StatusMB(stage.server, "VmRSS");
        ResetPeak(stage.server);
        const double ours = Seconds(
            [&] { return RemoteFileCache::Instance().MoveRemoteFileLocal(source, AString(target), &progress) == 0; },
            ok);
        peakAboveIdle = std::max(peakAboveIdle, StatusMB(stage.server, "VmHWM") - idle);
        sync();
        const double raw = Seconds([&] { return RawFetch(target); }, ok);
        ratios.push_back(raw / ours);
    }
    RemoteFileCache::Instance().SetPeer(nullptr);
    if (!ok)
        state.SkipWithError("a fetch failed");
    state.counters["link_vs_raw"] = Median(ratios);
    state.counters["goal_ratio_min"] = kRatioGoal;
    state.counters["server_peak_MB"] = peakAboveIdle;
    state.counters["goal_peak_MB_max"] = kMemoryGoalMB;
}
BENCHMARK(BM_Fetch200MBVersusRawTcp)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
