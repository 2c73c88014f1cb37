// The scan of a /24 on loopback (127.0.0.0/24, where every address answers an echo) with two servers on
// 127.0.0.2 and 127.0.0.3, side by side in the same run with a plain connect scan of the same probe
// ports (one TCP connect per address, one after the other). The goal: the scan ends under 3 s.
#include "platform/sockets/IcmpEcho.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/CASockets.h"
#include "server/requests/ASyncWSocksServer.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <random>

namespace {

using nativesockets::Deadline;

constexpr uint32_t kScanner = 0x7F000001;
constexpr uint32_t kServers[] = {0x7F000002, 0x7F000003};
constexpr double kGoalSeconds = 3.0;
constexpr int kConnectWaitMs = 50;

// The scanner, told when its scan and its last probe have ended.
class TimedScanner : public CASockets {
public:
    TimedScanner() : CASockets(kScanner) {}
    ~TimedScanner() override { StopScan(); }
    void OnScanDone() override { Mark(m_scanDone); }
    void OnProbesDone() override { Mark(m_probesDone); }
    bool WaitForEnd() {
        std::unique_lock lock(m_lock);
        return m_ended.wait_for(lock, std::chrono::seconds(60), [this] { return m_scanDone && m_probesDone; });
    }

private:
    void Mark(bool& flag) {
        std::lock_guard lock(m_lock);
        flag = true;
        m_ended.notify_all();
    }
    std::mutex m_lock;
    std::condition_variable m_ended;
    bool m_scanDone = false;
    bool m_probesDone = false;
};

// Two listening servers with one base port.
struct Servers {
    Servers() {
        std::mt19937 random(std::random_device{}());
        for (int attempt = 0; attempt < 100 && listening.size() < 2; ++attempt) {
            listening.clear();
            port = static_cast<uint16_t>(20000 + random() % 12000);
            for (const uint32_t address : kServers) {
                auto server = std::make_unique<ASyncWSocksServer>(address, nullptr);
                server->SetBasePort(port);
                if (server->StartListening() && !server->BindFailed())
                    listening.push_back(std::move(server));
            }
        }
    }
    uint16_t port = 0;
    std::vector<std::unique_ptr<ASyncWSocksServer>> listening;
};

double SecondsOf(const std::function<bool()>& work, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ScanOfA24OnLoopbackVersusConnectScan(benchmark::State& state) {
    if (!nativesockets::IcmpEcho::IsAvailable()) {
        state.SkipWithError("no ICMP socket may be opened here");
        return;
    }
    const Servers servers;
    if (servers.listening.size() != 2) {
        state.SkipWithError("no base port free on both addresses");
        return;
    }
    double ours = 0;
    double raw = 0;
    bool ok = true;
    for (auto _ : state) {
        ours += SecondsOf(
            [&] {
                TimedScanner scanner;
                scanner.SetBasePort(servers.port);
                return scanner.StartScan() == 0 && scanner.WaitForEnd() && scanner.FoundHosts().Count() == 2;
            },
            ok);
        raw += SecondsOf(
            [&] {
                int answered = 0;
                for (uint32_t host = 2; host <= 254; ++host) {
                    answered += nativesockets::ConnectTcp((kScanner & 0xFFFFFF00) | host, servers.port + 1,
                                                          Deadline::AfterMs(kConnectWaitMs), nullptr)
                                    .IsOpen();
                }
                return answered == 2;
            },
            ok);
    }
    if (!ok)
        state.SkipWithError("a scan did not find exactly the two servers");
    const double iterations = static_cast<double>(state.iterations());
    state.counters["scan_s"] = ours / iterations;
    state.counters["connect_scan_s"] = raw / iterations;
    state.counters["scan_vs_connect_scan"] = ours / raw;
    state.counters["goal_under_3s_met"] = ours / iterations < kGoalSeconds ? 1 : 0;
}
BENCHMARK(BM_ScanOfA24OnLoopbackVersusConnectScan)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
