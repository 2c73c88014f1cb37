#include "remote/BonjourHostBrowser.h"

#include "platform/dnssd/DnsSdApi.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/BonjourInstanceName.h"
#include "remote/CASockets.h"
#include "support/StubDnsSdScript.h"

#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kOwnAddress = 0x7F000001;

// A name service that knows a few names.
std::optional<uint32_t> KnownNames(const std::string& name) {
    static const std::map<std::string, std::string> known = {
        {"studio", "10.0.0.5"}, {"laptop.local", "10.0.0.6"}, {"me", "127.0.0.1"}};
    const auto found = known.find(name);
    return found == known.end() ? std::nullopt : nativesockets::ParseIPv4(found->second);
}

std::map<std::string, std::string> AddressesByName(CASockets& sockets) {
    std::map<std::string, std::string> hosts;
    for (const FoundHost& host : sockets.FoundHosts().Copy())
        hosts[host.name] = host.address;
    return hosts;
}

} // namespace

TEST(BonjourInstanceNameTest, AnAddressBeforeTheDashNamesTheServerDirectly) {
    const struct {
        std::string instance;
        std::optional<std::string> name;
        std::string address;
    } cases[] = {
        {"192.168.1.20-studio", "studio", "192.168.1.20"},
        {"192.168.1.20-my-studio", "my-studio", "192.168.1.20"},
        {"10.0.0.1-", "", "10.0.0.1"},
        {"1.2.3-studio", std::nullopt, ""},
        {"300.1.1.1-studio", std::nullopt, ""},
        {"a.b.c.d-studio", std::nullopt, ""},
        {"1.2.3.4.5-studio", std::nullopt, ""},
        {"-studio", std::nullopt, ""},
        {"studio", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        const auto host = BonjourInstanceName::AddressForm(c.instance);
        ASSERT_EQ(host.has_value(), c.name.has_value()) << c.instance;
        if (host) {
            EXPECT_EQ(host->name, *c.name);
            EXPECT_EQ(host->address, c.address);
        }
    }
}

TEST(BonjourInstanceNameTest, AnyOtherNameIsLookedUpBareThenInLocal) {
    const auto studio = BonjourInstanceName::ToHost("studio", KnownNames);
    ASSERT_TRUE(studio);
    EXPECT_EQ(studio->name, "studio.local");
    EXPECT_EQ(studio->address, "10.0.0.5");
    const auto laptop = BonjourInstanceName::ToHost("laptop", KnownNames);
    ASSERT_TRUE(laptop);
    EXPECT_EQ(laptop->address, "10.0.0.6");
    EXPECT_FALSE(BonjourInstanceName::ToHost("cellar", KnownNames));
    EXPECT_FALSE(BonjourInstanceName::ToHost("1.2.3-studio", KnownNames)) << "no dotted address, no such name";
}

TEST(BonjourHostBrowserTest, OnlyAnnouncementsWithoutErrorsBecomeFoundHosts) {
    const StubDnsSdScript stub;
    using nativednssd::kFlagAdd;
    stub.AddBrowseReply(kFlagAdd, 0, "192.168.1.20-studio");
    stub.AddBrowseReply(kFlagAdd, 0, "studio");
    stub.AddBrowseReply(kFlagAdd, 0, "laptop");
    stub.AddBrowseReply(0, 0, "10.0.0.7-gone");
    stub.AddBrowseReply(kFlagAdd, nativednssd::kErrorUnknown, "10.0.0.8-broken");
    stub.AddBrowseReply(kFlagAdd, 0, "1.2.3-bad");
    stub.AddBrowseReply(kFlagAdd, 0, "127.0.0.1-me");
    stub.AddBrowseReply(kFlagAdd, 0, "me");
    stub.AddBrowseReply(kFlagAdd, 0, "10.0.0.9-" + std::string(300, 'a'));
    stub.AddBrowseReply(kFlagAdd, 0, "10.0.0.10-late", nativednssd::kErrorUnknown);
    CASockets sockets(kOwnAddress);
    BonjourHostBrowser browser(sockets, StubDnsSdScript::LibraryFile(), KnownNames);
    ASSERT_TRUE(browser.Start());
    for (int i = 0; i < 500 && browser.IsBrowsing(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(browser.IsBrowsing()) << "the failed result ends browsing";

    const std::map<std::string, std::string> expected = {{"studio", "192.168.1.20"},
                                                         {"studio.local", "10.0.0.5"},
                                                         {"laptop.local", "10.0.0.6"},
                                                         {std::string(149, 'a'), "10.0.0.9"}};
    EXPECT_EQ(AddressesByName(sockets), expected);
}

TEST(BonjourHostBrowserTest, WithoutTheLibraryNothingIsBrowsed) {
    CASockets sockets(kOwnAddress);
    BonjourHostBrowser browser(sockets, "libno-such-dnssd.so.9");
    EXPECT_FALSE(browser.Start());
    EXPECT_FALSE(browser.IsBrowsing());
}
