#include "server/router/RouterStatusFile.h"

#include "platform/ini/PrivateProfile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct StatusKeys {
    std::string status, port, address;
    bool operator==(const StatusKeys&) const = default;
};

StatusKeys Read(const std::string& path) {
    const nativeini::PrivateProfile profile(path);
    return {profile.ReadString("Stat", "Status", "-"), profile.ReadString("Stat", "ExtPort", "-"),
            profile.ReadString("Stat", "ExtIP", "-")};
}

} // namespace

TEST(RouterStatusFileTest, TheFileSaysWhatIsKnownOfTheMapping) {
    const struct {
        const char* what;
        RouterState state;
        StatusKeys expected;
    } cases[] = {
        {"never found: the earlier port and address stay", {false, 0, ""}, {"0", "5000", "198.51.100.1"}},
        {"found", {true, 10566, "203.0.113.7"}, {"1", "10566", "203.0.113.7"}},
        {"found once, lost since", {true, 10566, ""}, {"1", "10566", ""}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteText(dir.File("Router.stat"), "[Stat]\r\nStatus=1\r\nExtPort=5000\r\nExtIP=198.51.100.1\r\n");
        ASSERT_TRUE(RouterStatusFile::Write(dir.File("Router.stat"), c.state)) << c.what;
        EXPECT_EQ(Read(dir.File("Router.stat")), c.expected) << c.what;
    }
}

TEST(RouterStatusFileTest, WithoutItsFolderNothingIsWritten) {
    TempDir dir;
    EXPECT_FALSE(RouterStatusFile::Write(dir.File("SyncSets/Router.stat"), RouterState{true, 1, "203.0.113.7"}));
}
