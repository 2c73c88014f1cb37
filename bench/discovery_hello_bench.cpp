// 200 scan probes at once: each connects to the server's probe port (the base port + 1), sends the
// hello and reads the answer, side by side in the same run with 200 raw TCP clients that send the same
// 172 bytes to a plain echo server (a thread per connection) and read them back. The goal: the server
// answers all 200 within 2 s.
#include "HelloProbes.h"
#include "platform/sockets/TcpSockets.h"
#include "server/requests/ASyncWSocksServer.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace {

using nativesockets::Deadline;
using nativesockets::IoStatus;
using nativesockets::SocketHandle;

constexpr uint32_t kServerAddress = 0x7F000002;
constexpr int kClients = 200;
using HelloProbes::kWaitMs;
constexpr double kGoalSeconds = 2.0;

std::unique_ptr<ASyncWSocksServer> ListeningServer() {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto server = std::make_unique<ASyncWSocksServer>(kServerAddress, nullptr);
        server->SetBasePort(static_cast<uint16_t>(20000 + random() % 12000));
        if (server->StartListening() && !server->BindFailed())
            return server;
    }
    return nullptr;
}

bool EchoOnce(uint16_t port) {
    const SocketHandle socket = nativesockets::ConnectTcp(kServerAddress, port, Deadline::AfterMs(kWaitMs), nullptr);
    if (!socket.IsOpen() || nativesockets::SendAll(socket, HelloProbes::Hello(), kWaitMs, nullptr).status != IoStatus::Done)
        return false;
    std::vector<uint8_t> back(HelloProbes::Hello().size());
    for (size_t done = 0; done < back.size();) {
        const auto got = nativesockets::ReceiveSome(socket, std::span(back).subspan(done), Deadline::AfterMs(kWaitMs),
                                                    nullptr);
        if (got.status != IoStatus::Done)
            return false;
        done += got.count;
    }
    return back == HelloProbes::Hello();
}

// A plain TCP echo server: a thread per connection, as the listening side has.
class EchoServer {
public:
    EchoServer() : m_listener(nativesockets::ListenTcp(kServerAddress, 0)) {
        m_thread = std::thread([this] {
            std::vector<std::thread> connections;
            for (int i = 0; i < kClients; ++i) {
                SocketHandle accepted;
                if (nativesockets::AcceptConnection(m_listener, Deadline::AfterMs(kWaitMs), nullptr, accepted) !=
                    IoStatus::Done)
                    break;
                connections.emplace_back([socket = std::move(accepted)] {
                    uint8_t buffer[512];
                    for (;;) {
                        const auto got = nativesockets::ReceiveSome(socket, buffer, Deadline::AfterMs(kWaitMs), nullptr);
                        if (got.status != IoStatus::Done ||
                            nativesockets::SendAll(socket, std::span(buffer, got.count), kWaitMs, nullptr).status !=
                                IoStatus::Done)
                            return;
                    }
                });
            }
            for (std::thread& connection : connections)
                connection.join();
        });
    }
    ~EchoServer() { m_thread.join(); }
    uint16_t Port() const { return nativesockets::BoundPort(m_listener); }

private:
    SocketHandle m_listener;
    std::thread m_thread;
};

void BM_200HellosAtOnceVersusRawTcpEcho(benchmark::State& state) {
    const std::unique_ptr<ASyncWSocksServer> server = ListeningServer();
    if (!server) {
        state.SkipWithError("no free pair of ports");
        return;
    }
    const uint16_t probePort = server->GetBasePort() + 1;
    double ours = 0;
    double raw = 0;
    bool ok = true;
    for (auto _ : state) {
        ours += HelloProbes::AllAtOnce(kClients, [&] { return HelloProbes::ProbeOnce(kServerAddress, probePort); }, ok);
        EchoServer echo;
        const uint16_t echoPort = echo.Port();
        raw += HelloProbes::AllAtOnce(kClients, [&] { return EchoOnce(echoPort); }, ok);
    }
    if (!ok)
        state.SkipWithError("a hello or an echo went unanswered");
    const double iterations = static_cast<double>(state.iterations());
    state.counters["hellos_s"] = ours / iterations;
    state.counters["raw_echo_s"] = raw / iterations;
    state.counters["hellos_vs_raw_echo"] = ours / raw;
    state.counters["goal_under_2s_met"] = ours / iterations < kGoalSeconds ? 1 : 0;
}
BENCHMARK(BM_200HellosAtOnceVersusRawTcpEcho)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
