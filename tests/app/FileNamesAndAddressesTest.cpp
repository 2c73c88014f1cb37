// The names the main program gives files after devices and hosts, and the addresses it counts as
// private.

#include "app/state/PrivateAddress.h"
#include "app/state/SyncSetNames.h"

#include <gtest/gtest.h>

namespace {

TEST(SyncSetNamesTest, HostNamesStayInsideTheFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"studio", "studio"},   {"../../etc/passwd", "___.._etc_passwd"}, {"..\\boot", "___boot"},
        {".hidden", "_hidden"}, {"a/b", "a_b"},                          {"", "00000000"},
    };
    for (const auto& [name, stem] : cases)
        EXPECT_EQ(SyncSetNames::SafeStem(AString(name)).ToUtf8(), stem) << name;
    EXPECT_EQ(SyncSetNames::SafeStem(AString(std::string(300, 'x'))).GetLength(), SyncSetNames::kMaxStemLength);
    EXPECT_EQ(SyncSetNames::SyncSetFile(AString("studio")).ToUtf8(), "studio.sync");
}

TEST(SyncSetNamesTest, ADeviceWithoutIdentifierUsesTheDefaultSet) {
    EXPECT_EQ(SyncSetNames::DeviceStem(AString("")).ToUtf8(), "00000000");
    EXPECT_EQ(SyncSetNames::DeviceStem(AString("00000000")).ToUtf8(), "00000000");
    EXPECT_EQ(SyncSetNames::DeviceStem(AString("0A1B2C3D")).ToUtf8(), "0A1B2C3D");
}

TEST(PrivateAddressTest, TellsPrivateAndSharedBlocksFromInternetAddresses) {
    const std::pair<const char*, bool> cases[] = {
        {"10.1.2.3", true},        {"172.16.0.1", true},    {"172.31.255.255", true}, {"172.32.0.1", false},
        {"192.168.1.7", true},     {"192.16.8.1", false},   {"100.64.0.1", true},     {"100.127.255.255", true},
        {"100.128.0.0", false},    {"169.254.10.10", true}, {"127.0.0.1", true},      {"11.0.0.1", false},
        {"Error", false},          {"", false},
    };
    for (const auto& [address, isPrivate] : cases)
        EXPECT_EQ(IsPrivateIPv4(address), isPrivate) << address;
}

} // namespace
