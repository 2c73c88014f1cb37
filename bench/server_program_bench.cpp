// The server program under 200 scan probes at once: its frame listens as the program does, on
// 127.0.0.2, while a 16 ms timer on its GUI thread measures how late each turn of the event loop comes.
// The goals: all 200 answered within 2 s, the GUI thread never held up more than 100 ms (the listening
// side alone against a raw TCP echo is discovery_hello_bench's).
#include "HelloProbes.h"
#include "OffscreenBenchmarkMain.h"
#include "server/program/CMainFrame.h"
#include "server/program/HelperSocketServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

namespace {

constexpr uint32_t kServerAddress = 0x7F000002;
constexpr int kClients = 200;
constexpr int kFrameMs = 16;
constexpr double kGoalSeconds = 2.0;
constexpr double kGoalStallMs = 100;

// A frame on a free pair of ports, with nothing announced and no router.
std::unique_ptr<CMainFrame> ListeningFrame(const std::string& runtime) {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        HelperSettings settings;
        settings.serverPort = static_cast<uint16_t>(20000 + random() % 12000);
        CMainFrame::Setup setup;
        setup.peers = nativeipc::PeerAddress(QString::fromStdString(runtime));
        setup.loadSettings = [settings] { return settings; };
        setup.localIPv4 = [] { return kServerAddress; };
        setup.findGateway = [](const std::string&) { return nullptr; };
        setup.dnsSdLibrary = runtime + "/no-dns-sd.so";
        setup.showTrayIcon = false;
        auto frame = std::make_unique<CMainFrame>(std::move(setup));
        frame->Start();
        frame->WaitForControl();
        if (frame->IsListening())
            return frame;
    }
    return nullptr;
}

// The probes run on their own threads while the GUI thread turns its loop: the longest lateness of
// the frame timer, in ms.
double LongestStallWhile(const std::function<void()>& probes) {
    std::atomic<bool> done{false};
    std::thread prober([&] {
        probes();
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    double longest = 0;
    QEventLoop loop;
    QTimer frame;
    frame.setInterval(kFrameMs);
    QObject::connect(&frame, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, static_cast<double>(now - last - kFrameMs));
        last = now;
        if (done)
            loop.quit();
    });
    frame.start();
    loop.exec();
    prober.join();
    return longest;
}

void BM_200HellosToTheServerProgram(benchmark::State& state) {
    const std::string runtime = std::filesystem::temp_directory_path() / ("orvantis-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(runtime);
    setenv("XDG_DATA_HOME", runtime.c_str(), 1);
    const std::unique_ptr<CMainFrame> frame = ListeningFrame(runtime);
    if (!frame) {
        state.SkipWithError("no free pair of ports");
        return;
    }
    const uint16_t probePort = frame->Server().GetBasePort() + 1;
    bool ok = true;
    double seconds = 0;
    double stall = 0;
    for (auto _ : state) {
        double these = 0;
        stall = std::max(stall, LongestStallWhile([&] {
            these = HelloProbes::AllAtOnce(kClients, [&] { return HelloProbes::ProbeOnce(kServerAddress, probePort); }, ok);
        }));
        seconds += these;
        state.SetIterationTime(these);
    }
    if (!ok)
        state.SkipWithError("a hello went unanswered");
    const double iterations = static_cast<double>(state.iterations());
    state.counters["hellos_s"] = seconds / iterations;
    state.counters["longest_gui_stall_ms"] = stall;
    state.counters["goal_under_2s_met"] = seconds / iterations < kGoalSeconds ? 1 : 0;
    state.counters["goal_stall_under_100ms_met"] = stall < kGoalStallMs ? 1 : 0;
    std::filesystem::remove_all(runtime);
}
BENCHMARK(BM_200HellosToTheServerProgram)->Iterations(5)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
