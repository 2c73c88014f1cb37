#include "../remote/RecordingSockets.h"
#include "LoopbackServer.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/sockets/IcmpEcho.h"
#include "platform/sockets/TcpSockets.h"
#include "platform/sockets/WakeSignal.h"
#include "server/requests/ASyncWSocksServer.h"

#include <gtest/gtest.h>
#include <map>

using namespace std::chrono_literals;
using nativesockets::Deadline;
using nativesockets::IoStatus;
using nativesockets::SocketHandle;

namespace {

constexpr uint32_t kScanner = 0x7F000001;
constexpr uint32_t kFirstServer = 0x7F000002;
constexpr uint32_t kSecondServer = 0x7F000003;
constexpr uint32_t kListedHost = 0x7F000004;
constexpr uint32_t kSilentHost = 0x7F000005;

// Two server programs on 127.0.0.2 and 127.0.0.3 with one base port.
struct TwoServers {
    TwoServers() {
        for (int attempt = 0; attempt < 200; ++attempt) {
            port = LoopbackServer::RandomPort();
            first = Listening(kFirstServer);
            second = Listening(kSecondServer);
            if (first && second)
                return;
        }
        ADD_FAILURE() << "no base port free on both addresses";
    }
    std::unique_ptr<ASyncWSocksServer> Listening(uint32_t address) const {
        auto server = std::make_unique<ASyncWSocksServer>(address, nullptr);
        server->SetBasePort(port);
        if (!server->StartListening() || server->BindFailed())
            return nullptr;
        return server;
    }

    uint16_t port = 0;
    std::unique_ptr<ASyncWSocksServer> first;
    std::unique_ptr<ASyncWSocksServer> second;
};

// A probe port that only counts who connects: the backlog takes connections without an answer.
bool AnyoneConnected(const SocketHandle& listener) {
    SocketHandle accepted;
    return nativesockets::AcceptConnection(listener, Deadline::AfterMs(0), nullptr, accepted) == IoStatus::Done;
}

} // namespace

TEST(LoopbackScanTest, TheScanFindsExactlyTheTwoServersAndProbesNeitherItselfNorAListedHost) {
    if (!nativesockets::IcmpEcho::IsAvailable())
        GTEST_SKIP() << "neither a raw nor a datagram ICMP socket may be opened here";
    const TwoServers servers;
    ASSERT_TRUE(servers.first && servers.second);
    const SocketHandle ownProbePort = nativesockets::ListenTcp(kScanner, servers.port + 1);
    const SocketHandle listedProbePort = nativesockets::ListenTcp(kListedHost, servers.port + 1);
    ASSERT_TRUE(ownProbePort.IsOpen() && listedProbePort.IsOpen());

    RecordingSockets scanner(kScanner);
    scanner.SetBasePort(servers.port);
    ASSERT_GE(scanner.AddFoundHost(FoundHost{"listed.local", "127.0.0.4", 0}), 0);
    ASSERT_EQ(scanner.StartScan(), 0);
    ASSERT_TRUE(scanner.WaitForScanAndProbes(30s));

    const std::string name = nativesockets::GetHostName() + ".local";
    std::map<std::string, std::string> found;
    for (const FoundHost& host : scanner.FoundHosts().Copy())
        found[host.address] = host.name;
    const std::map<std::string, std::string> expected = {
        {"127.0.0.2", name}, {"127.0.0.3", name + "_"}, {"127.0.0.4", "listed.local"}};
    if (found.at("127.0.0.2") != name)
        std::swap(found.at("127.0.0.2"), found.at("127.0.0.3"));
    EXPECT_EQ(found, expected) << "the second server of the same name is told apart";
    EXPECT_EQ(scanner.HostsChanged(), 3);
    EXPECT_FALSE(AnyoneConnected(ownProbePort));
    EXPECT_FALSE(AnyoneConnected(listedProbePort));
}

TEST(LoopbackScanTest, AStopEndsAProbeThatWaitsForItsAnswer) {
    const uint16_t port = LoopbackServer::RandomPort();
    const SocketHandle silent = nativesockets::ListenTcp(kSilentHost, port + 1);
    ASSERT_TRUE(silent.IsOpen());
    RecordingSockets scanner(kScanner);
    scanner.SetBasePort(port);
    scanner.SetScanPinger([](uint32_t address, const nativesockets::WakeSignal&) { return address == kSilentHost; });
    ASSERT_EQ(scanner.StartScan(), 0);
    SocketHandle probe;
    ASSERT_EQ(nativesockets::AcceptConnection(silent, Deadline::AfterMs(5000), nullptr, probe), IoStatus::Done);
    ASSERT_EQ(nativesockets::WaitReadable(probe, Deadline::AfterMs(5000), nullptr), IoStatus::Done)
        << "the hello came and waits for its answer";
    EXPECT_EQ(scanner.Slots().RunningCount(), 1);
    const auto begun = std::chrono::steady_clock::now();
    scanner.StopScan();
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 1s);
    uint8_t buffer[4096];
    nativesockets::IoResult read;
    do
        read = nativesockets::ReceiveSome(probe, buffer, Deadline::AfterMs(1000), nullptr);
    while (read.status == IoStatus::Done);
    EXPECT_EQ(read.status, IoStatus::Closed) << "the probe let its connection go";
    EXPECT_EQ(scanner.FoundHosts().Count(), 0);
}

TEST(LoopbackScanTest, AHelloToOneHostKeepsThePortTyped) {
    const TwoServers servers;
    ASSERT_TRUE(servers.first);
    CASockets client(kScanner);
    FoundHost record;
    ASSERT_EQ(client.QueryHost(record, "127.0.0.2", servers.port), 1);
    EXPECT_EQ(record.name, nativesockets::GetHostName() + ".local");
    EXPECT_EQ(record.address, "127.0.0.2");
    EXPECT_EQ(record.port, servers.port);
    servers.first->StopListening();
    EXPECT_EQ(client.QueryHost(record, "127.0.0.2", servers.port), 0);
}
