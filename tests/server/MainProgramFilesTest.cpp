#include "server/files/MainProgramFiles.h"

#include "platform/ini/PrivateProfile.h"
#include "remote/FoundHostTable.h"
#include "remote/HostListFile.h"
#include "support/ScopedDataHome.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOwnAddress = 0x7F000001;

} // namespace

TEST(MainProgramFilesTest, TheMainProgramGetsTheWholeTableOrTheHostThatJoined) {
    TempDir dir;
    const MainProgramFiles files{AString(dir.Path())};
    FoundHostTable table;
    EXPECT_FALSE(files.WriteHostList(table, 12345));
    EXPECT_FALSE(files.WriteJoinedHost(table, 12345));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "an empty table writes no file";

    table.Add(FoundHost{"studio.local", "10.0.0.5", 0}, kOwnAddress);
    table.Add(FoundHost{"attic.local", "10.0.0.6", 0}, kOwnAddress);
    ASSERT_TRUE(files.WriteHostList(table, 12345));
    EXPECT_EQ(HostListFile::Read(dir.Text("12345.hosts")).size(), 2u);
    ASSERT_TRUE(files.WriteJoinedHost(table, 0xFFFFFFFF));
    const std::vector<FoundHost> joined = HostListFile::Read(dir.Text("-1.hosts"));
    ASSERT_EQ(joined.size(), 1u) << "a tick count names the file as the 32-bit number it was sent as";
    EXPECT_EQ(joined[0].name, "attic.local");
}

TEST(MainProgramFilesTest, TheFilesGoIntoTheSyncSetsFolderOfTheUsersData) {
    TempDir dir;
    const ScopedDataHome home(dir.Path());
    const auto files = MainProgramFiles::InSyncSetsFolder();
    ASSERT_TRUE(files);
    ASSERT_TRUE(files->WriteRouterStatus(RouterState{true, 10564, "203.0.113.7"}));
    const nativeini::PrivateProfile status(dir.File("Quelloran/Orvantis/SyncSets/Router.stat"));
    EXPECT_EQ(status.ReadString("Stat", "ExtIP", ""), "203.0.113.7");
}

TEST(MainProgramFilesTest, WithoutTheFolderNothingIsWritten) {
    TempDir dir;
    WriteText(dir.File("Quelloran"), "a file where the folder should be");
    const ScopedDataHome home(dir.Path());
    EXPECT_FALSE(MainProgramFiles::InSyncSetsFolder());
}
