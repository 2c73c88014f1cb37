// The main window finding server programs: its scan of the own /24 (here 127.0.0.0/24, from
// 127.0.0.1, with two real servers on 127.0.0.2 and 127.0.0.3) and Bonjour through the stub library.

#include "LoopbackServers.h"
#include "server/requests/LibraryRequestHandlers.h"
#include "server/requests/ServedLibrary.h"
#include "library/itunes/ITunes.h"

#include "app/window/MainMessages.h"
#include "harness/AppTestHome.h"
#include "harness/WindowUnderTest.h"
#include "platform/dnssd/DnsSdApi.h"
#include "platform/settings/SettingsKey.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/ui/PrivateMessage.h"
#include "support/StubDnsSdScript.h"
#include "widgets/WidgetTestSupport.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace {

constexpr uint32_t kOwnAddress = 0x7F000001;

// Every address of loopback answers the echo; the pings are counted.
struct CountingPinger {
    std::map<uint32_t, int> Counts() const {
        std::lock_guard lock(m_lock);
        return m_counts;
    }
    bool Ping(uint32_t address) {
        std::lock_guard lock(m_lock);
        ++m_counts[address];
        return (address >> 24) == 127;
    }

private:
    mutable std::mutex m_lock;
    std::map<uint32_t, int> m_counts;
};

class DiscoveryWindowTest : public testing::Test {
protected:
    void UseBasePort(uint16_t port) {
        nativesettings::SettingsKey(QString::fromStdString(home.SettingsFile())).WriteDword("Server_Port", port);
    }
    std::vector<std::string> HostAddresses(WindowUnderTest& test) {
        std::vector<std::string> addresses;
        for (const FoundHost& host : test.Sockets().FoundHosts().Copy())
            addresses.push_back(host.address);
        std::sort(addresses.begin(), addresses.end());
        return addresses;
    }

    AppTestHome home;
};

TEST_F(DiscoveryWindowTest, TheScanFromLoopbackFindsExactlyTheTwoServersAndSkipsItsOwnAndFoundAddresses) {
    const LoopbackServers servers({0x7F000002, 0x7F000003});
    ASSERT_TRUE(servers.AllListening()) << "no base port free on both addresses";
    UseBasePort(servers.port);
    WindowUnderTest test(home, {}, {.localAddress = kOwnAddress});
    // A server found before the scan: the sweep passes its address by.
    test.Sockets().AddFoundHost({"earlier", "127.0.0.2", 0});
    CountingPinger pinger;
    test.Sockets().SetScanPinger([&](uint32_t address, const nativesockets::WakeSignal&) { return pinger.Ping(address); });
    ASSERT_TRUE(test.StartAndWaitIdle());
    ASSERT_TRUE(SpinUntil([&] { return !test.Sockets().IsScanRunning(); }, std::chrono::seconds(20)));
    ASSERT_TRUE(SpinUntil([&] { return test.ChooserTexts().size() == 4 && test.IsIdle(); }, std::chrono::seconds(20)));

    EXPECT_EQ(HostAddresses(test), (std::vector<std::string>{"127.0.0.2", "127.0.0.3"}));
    const std::map<uint32_t, int> pings = pinger.Counts();
    EXPECT_EQ(pings.count(kOwnAddress), 0u);
    EXPECT_EQ(pings.count(0x7F000002), 0u);
    EXPECT_EQ(pings.at(0x7F000003), 1);
    EXPECT_EQ(pings.size(), 252u);
    EXPECT_TRUE(test.ChooserTexts().last() == QStringLiteral("Connect to Remote"));
}

TEST_F(DiscoveryWindowTest, TheWindowsEndStopsARunningScanAtOnce) {
    WindowUnderTest test(home, {}, {.localAddress = kOwnAddress});
    // Each address keeps the scan waiting until the stop wakes it.
    test.Sockets().SetScanPinger([](uint32_t, const nativesockets::WakeSignal& wake) {
        wake.WaitMs(10000);
        return false;
    });
    ASSERT_TRUE(test.StartAndWaitIdle());
    ASSERT_TRUE(test.Sockets().IsScanRunning());
    QElapsedTimer timer;
    timer.start();
    nativeui::PrivateMessage::Post(&test.Window(), mainmsg::kWmClose);
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }, std::chrono::seconds(5)));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(test.Sockets().IsScanRunning());
}

TEST_F(DiscoveryWindowTest, ServersAnnouncedByBonjourReachTheChooser) {
    const StubDnsSdScript stub;
    stub.AddBrowseReply(nativednssd::kFlagAdd, 0, "127.0.0.7-studio");
    stub.AddBrowseReply(nativednssd::kFlagAdd, -65537, "127.0.0.8-broken");
    stub.AddBrowseReply(0, 0, "127.0.0.9-gone");
    stub.AddBrowseReply(nativednssd::kFlagAdd, 0, "10.255.0.1-myself");
    WindowUnderTest test(home, {}, {.dnssdLibrary = StubDnsSdScript::LibraryFile()});
    ASSERT_TRUE(test.StartAndWaitIdle());
    ASSERT_TRUE(SpinUntil([&] { return test.ChooserTexts().contains("iTunes on studio") && test.IsIdle(); }));
    EXPECT_EQ(HostAddresses(test), (std::vector<std::string>{"127.0.0.7"}));
    EXPECT_EQ(stub.ActiveBrowses(), 1);
    test.Window().close();
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsEnded(); }));
    EXPECT_EQ(stub.ActiveBrowses(), 0);
}

} // namespace

// Choosing a computer shows its library's own playlists in the right combo once they arrived.
TEST_F(DiscoveryWindowTest, AChosenHostsPlayListsReachTheRightCombo) {
    {
        ITunes library;
        ASSERT_EQ(library.Connect(), 0);
        ASSERT_EQ(library.CreatePlayList(AString("Road Trip")), 0);
    }
    const LoopbackServers servers({0x7F000002});
    ASSERT_TRUE(servers.AllListening());
    RegisterLibraryRequestHandlers(*servers.listening[0], std::make_shared<ServedLibrary>(), nullptr);
    UseBasePort(servers.port);
    WindowUnderTest test(home, {}, {.localAddress = kOwnAddress});
    ASSERT_TRUE(test.StartAndWaitIdle());
    test.Sockets().AddFoundHost({"studio", "127.0.0.2", servers.port});
    ASSERT_TRUE(SpinUntil([&] { return test.Window().IsRemoteInUse() && test.IsIdle(); }, std::chrono::seconds(20)));
    ASSERT_TRUE(SpinUntil([&] { return test.ComboTexts(test.Controls().rightPlayLists).contains("Road Trip"); },
                          std::chrono::seconds(20)))
        << test.ComboTexts(test.Controls().rightPlayLists).join("|").toStdString();
    const QStringList right = test.ComboTexts(test.Controls().rightPlayLists);
    EXPECT_EQ(right.first(), "Main Library");
    EXPECT_EQ(right.last(), "New playlist...");
}
