#include "RecordingSockets.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/sockets/WakeSignal.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <mutex>
#include <numeric>
#include <set>

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kOwnAddress = 0x0A000105; // 10.0.1.5: never reached, every ping is answered here

// Records the addresses the scan pings; none answers.
class PingLog {
public:
    explicit PingLog(std::chrono::milliseconds wait = 0ms) : m_wait(wait) {}

    bool Ping(uint32_t address, const nativesockets::WakeSignal& wake) {
        {
            std::lock_guard lock(m_lock);
            m_pinged.push_back(address);
        }
        wake.WaitMs(static_cast<int>(m_wait.count()));
        return false;
    }
    std::vector<uint32_t> Pinged() const {
        std::lock_guard lock(m_lock);
        return m_pinged;
    }

private:
    std::chrono::milliseconds m_wait;
    mutable std::mutex m_lock;
    std::vector<uint32_t> m_pinged;
};

void UsePings(CASockets& sockets, PingLog& log) {
    sockets.SetScanPinger([&log](uint32_t address, const nativesockets::WakeSignal& wake) { return log.Ping(address, wake); });
}

} // namespace

TEST(NetworkScanTest, TheScanWalksTheOwnNetworkButNotTheOwnOrAFoundAddress) {
    RecordingSockets sockets(kOwnAddress);
    ASSERT_GE(sockets.AddFoundHost(FoundHost{"box.local", "10.0.1.9", 0}), 0);
    PingLog log;
    UsePings(sockets, log);
    ASSERT_EQ(sockets.StartScan(), 0);
    ASSERT_TRUE(sockets.WaitForScanAndProbes(10s));
    EXPECT_FALSE(sockets.IsScanRunning());
    EXPECT_EQ(sockets.GetScanPosition(), 254);

    std::vector<int> everyHost(254);
    std::iota(everyHost.begin(), everyHost.end(), 1);
    EXPECT_EQ(sockets.Progress(), everyHost);
    const std::vector<uint32_t> pinged = log.Pinged();
    EXPECT_EQ(pinged.size(), 252u);
    const std::set<uint32_t> distinct(pinged.begin(), pinged.end());
    EXPECT_EQ(distinct.size(), pinged.size());
    EXPECT_FALSE(distinct.count(kOwnAddress));
    EXPECT_FALSE(distinct.count(*nativesockets::ParseIPv4("10.0.1.9")));
    EXPECT_TRUE(std::all_of(pinged.begin(), pinged.end(), [](uint32_t a) { return (a & 0xFFFFFF00) == 0x0A000100; }));
    EXPECT_EQ(sockets.ScansDone(), 1);
}

TEST(NetworkScanTest, ListedHostsAreTriedFirst) {
    RecordingSockets sockets(kOwnAddress);
    PingLog log;
    UsePings(sockets, log);
    const std::vector<FoundHost> listed = {
        {"10.0.9.1", "10.0.9.1", 5000}, {"", "10.0.9.2", 0}, {"10.0.1.5", "", 0}, {"10.0.9.3", "", 0}};
    ASSERT_EQ(sockets.StartScan(listed), 0);
    ASSERT_TRUE(sockets.WaitForScanAndProbes(10s));
    const std::vector<uint32_t> pinged = log.Pinged();
    ASSERT_GE(pinged.size(), 2u);
    EXPECT_EQ(nativesockets::FormatIPv4(pinged[0]), "10.0.9.1");
    EXPECT_EQ(nativesockets::FormatIPv4(pinged[1]), "10.0.9.3") << "a record without a name and our own address are skipped";
}

TEST(NetworkScanTest, AStopMidScanEndsItWithinASecond) {
    RecordingSockets sockets(kOwnAddress);
    PingLog log(50ms);
    UsePings(sockets, log);
    ASSERT_EQ(sockets.StartScan(), 0);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(sockets.IsScanRunning());
    EXPECT_EQ(sockets.StartScan(), -1) << "one scan at a time";
    const auto begun = std::chrono::steady_clock::now();
    sockets.StopScan();
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 1s);
    EXPECT_FALSE(sockets.IsScanRunning());
    EXPECT_LT(log.Pinged().size(), 254u);
    EXPECT_EQ(sockets.ScansDone(), 1);
}

TEST(NetworkScanTest, WithoutAnAddressOfItsOwnTheScanProbesNothing) {
    CASockets none(std::nullopt);
    PingLog log;
    UsePings(none, log);
    ASSERT_EQ(none.StartScan(), 0);
    for (int i = 0; i < 500 && none.IsScanRunning(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(none.IsScanRunning());
    EXPECT_TRUE(log.Pinged().empty());
}
