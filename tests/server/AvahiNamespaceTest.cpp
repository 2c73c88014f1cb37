// These cases need a private Avahi daemon; tests/server/avahi_namespace.sh runs them in a namespace of
// their own and names the address of its link. Elsewhere they are skipped.
#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/ServiceBrowser.h"
#include "platform/dnssd/ServiceResolver.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/BonjourHostBrowser.h"
#include "remote/BonjourService.h"
#include "remote/CASockets.h"
#include "server/bonjour/AnnouncedListening.h"
#include "server/bonjour/BonjourAnnouncement.h"
#include "server/requests/ASyncWSocksServer.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr char kHostName[] = "testhost"; // the daemon's host name, set by the script
constexpr uint16_t kServerPort = 20564;
constexpr uint32_t kMainProgramAddress = 0x0AC90009; // 10.201.0.9, on the same link

template <typename Condition>
bool Within(std::chrono::milliseconds limit, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(20ms);
    return condition();
}

// What a browse of the platform layer saw of one instance.
class InstanceWatch {
public:
    void Seen(const nativednssd::BrowseEvent& event) {
        if (event.name != kHostName || event.error != nativednssd::kNoError)
            return;
        std::lock_guard lock(m_lock);
        (event.flags & nativednssd::kFlagAdd ? m_arrivals : m_departures)++;
    }
    int Arrivals() const {
        std::lock_guard lock(m_lock);
        return m_arrivals;
    }
    int Departures() const {
        std::lock_guard lock(m_lock);
        return m_departures;
    }

private:
    mutable std::mutex m_lock;
    int m_arrivals = 0;
    int m_departures = 0;
};

} // namespace

TEST(AvahiNamespaceTest, TheServersAnnouncementIsBrowsedResolvedAndGoesWhenListeningStops) {
    const char* addressText = std::getenv("ORVANTIS_AVAHI_ADDRESS");
    if (!addressText)
        GTEST_SKIP() << "needs the private Avahi daemon of tests/server/avahi_namespace.sh";
    const auto serverAddress = nativesockets::ParseIPv4(addressText);
    ASSERT_TRUE(serverAddress);

    const nativednssd::DnsSdLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    InstanceWatch watch;
    nativednssd::ServiceBrowser platformBrowser(library, [&](const nativednssd::BrowseEvent& e) { watch.Seen(e); });
    ASSERT_EQ(platformBrowser.Start(bonjour::kServiceType), nativednssd::kNoError);

    CASockets mainProgram(kMainProgramAddress);
    BonjourHostBrowser hostBrowser(mainProgram, nativednssd::DnsSdLibrary::kDefaultFile,
                                   [&](const std::string& name) -> std::optional<uint32_t> {
                                       if (name == kHostName)
                                           return serverAddress;
                                       return std::nullopt;
                                   });
    ASSERT_TRUE(hostBrowser.Start());

    ASyncWSocksServer server(*serverAddress, nullptr);
    BonjourAnnouncement announcement;
    AnnouncedListening listening(server, announcement);
    ASSERT_TRUE(listening.Start(kServerPort));
    ASSERT_TRUE(announcement.IsAnnounced());

    ASSERT_TRUE(Within(10s, [&] { return mainProgram.FoundHosts().Count() == 1; })) << "the main program's browse";
    const std::vector<FoundHost> found = mainProgram.FoundHosts().Copy();
    EXPECT_EQ(found[0].name, std::string(kHostName) + ".local");
    EXPECT_EQ(found[0].address, addressText);

    const auto resolved = nativednssd::ServiceResolver::Resolve(library, kHostName, bonjour::kServiceType, "local.", 0, 5000);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->port, kServerPort);

    listening.Stop();
    EXPECT_TRUE(Within(10s, [&] { return watch.Departures() > 0; })) << "the announcement goes with listening";
}
