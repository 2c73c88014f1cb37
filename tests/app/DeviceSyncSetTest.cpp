// The window's sync set: which file a device's or host's set lives in, what a damaged or foreign file
// turns into, and that a new default sync takes over the options of the one it replaces.

#include "app/devices/DeviceSyncSet.h"
#include "foundation/AProgress.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "support/TempDir.h"
#include "library/songlists/ADirPodDB.h"
#include "remote/FoundHost.h"
#include "sync/ASyncLib.h"
#include "sync/SyncModeTables.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class DeviceSyncSetTest : public testing::Test {
protected:
    // As the program does at its start.
    DeviceSyncSetTest() {
        DeviceSyncSet::RegisterRemoteList();
    }
    DeviceSyncSet::Device Database(const std::string& folder, const char* id, uint32_t family = 0) {
        const std::string root = home.Folder().File(folder);
        WriteFakePod(root, {u"Pocket", {u"Road"}, 2, "", false});
        home.MountVolume(root);
        return {ChooserKind::PodDatabase, AString(id), AString("Pocket"), AString::FromUtf8(root), family};
    }
    std::string SetFile(const std::string& stem) const { return home.SyncSetsFolder() + "/" + stem + ".sync"; }
    void WriteDamaged(const std::string& stem) const {
        fs::create_directories(home.SyncSetsFolder());
        std::ofstream(SetFile(stem)) << "not a sync set";
    }

    AppTestHome home;
    AProgress progress;
};

TEST_F(DeviceSyncSetTest, ADeviceSetIsMadeSavedAndReadBackUnderItsIdentifier) {
    const DeviceSyncSet::Device pod = Database("pod", "0A1B2C3D");
    {
        DeviceSyncSet set(&progress, nullptr, AString());
        QString message;
        ASSERT_EQ(set.LoadRecent(&pod, kModeSync, message), 0);
        EXPECT_TRUE(message.isEmpty());
        ASSERT_EQ(set.Set().GetSyncCount(), 1);
        EXPECT_EQ(set.First()->GetDirectory2().GetType(), ADir::kTypePodDB);
        EXPECT_EQ(set.Setting(), kModeSync);
        set.ApplySetting(kModeMake2Equal1);
        ASSERT_EQ(set.Save(), 0);
    }
    ASSERT_TRUE(fs::exists(SetFile("0A1B2C3D")));

    DeviceSyncSet again(&progress, nullptr, AString());
    QString message;
    ASSERT_EQ(again.LoadRecent(&pod, kModeSync, message), 0);
    EXPECT_EQ(again.Setting(), kModeMake2Equal1);
    int result = 0;
    const auto binding = again.Bound(result);
    ASSERT_TRUE(binding);
    EXPECT_EQ(binding->id, AString("0A1B2C3D"));
    EXPECT_EQ(binding->type, uint32_t(ADir::kTypePodDB));

    // The set that is loaded already is kept as it is.
    again.ApplySetting(kModeMerge);
    ASSERT_EQ(again.LoadRecent(&pod, kModeSync, message), 0);
    EXPECT_EQ(again.Setting(), kModeMerge);
}

TEST_F(DeviceSyncSetTest, ADamagedDeviceSetIsKeptAsBadAndReplacedWithAMessage) {
    const DeviceSyncSet::Device pod = Database("pod", "0A1B2C3D");
    WriteDamaged("0A1B2C3D");
    DeviceSyncSet set(&progress, nullptr, AString());
    QString message;
    EXPECT_NE(set.LoadRecent(&pod, kModeCopy1To2, message), 0);
    EXPECT_TRUE(message.startsWith("Error occured while reading Sync set for iPod \"Pocket\"")) << message.toStdString();
    EXPECT_TRUE(message.endsWith("\r\nA new Sync set has been created."));
    EXPECT_TRUE(fs::exists(SetFile("0A1B2C3D") + ".bad"));
    ASSERT_EQ(set.Set().GetSyncCount(), 1);
    EXPECT_EQ(set.Setting(), kModeCopy1To2);
    // Saving the new set replaces the damaged file, which reads again afterwards.
    ASSERT_EQ(set.Save(), 0);
    DeviceSyncSet again(&progress, nullptr, AString());
    EXPECT_EQ(again.LoadRecent(&pod, kModeSync, message), 0);
}

TEST_F(DeviceSyncSetTest, TheDefaultSet) {
    {
        DeviceSyncSet set(&progress, nullptr, AString());
        EXPECT_TRUE(set.LoadDefault(kModeMerge).isEmpty());
        EXPECT_TRUE(set.IsEmpty()) << "a missing file leaves the set empty";
    }
    WriteDamaged("00000000");
    {
        DeviceSyncSet set(&progress, nullptr, AString());
        const QString message = set.LoadDefault(kModeMerge);
        EXPECT_TRUE(message.startsWith("Error occured while reading default Sync set")) << message.toStdString();
        EXPECT_TRUE(message.endsWith("\r\nA new default Sync set has been created."));
        EXPECT_EQ(set.Setting(), kModeMerge);
    }
    DeviceSyncSet set(&progress, nullptr, AString());
    EXPECT_TRUE(set.LoadDefault(kModeSync).isEmpty()) << "the new default set was saved";
    EXPECT_EQ(set.Setting(), kModeMerge);
}

TEST_F(DeviceSyncSetTest, ADefaultSetWithARemoteSideIsReplacedSilently) {
    FoundHost host{"study", "127.0.0.1", 10564};
    {
        DeviceSyncSet remote(&progress, nullptr, AString());
        ASSERT_EQ(remote.MakeRemote(nullptr, host, kModeSync), 0);
        ASSERT_EQ(remote.Set().Save(AString::FromUtf8(SetFile("00000000"))), 0);
    }
    DeviceSyncSet set(&progress, nullptr, AString());
    EXPECT_TRUE(set.LoadDefault(kModeCopy1To2).isEmpty());
    ASSERT_FALSE(set.IsEmpty());
    EXPECT_EQ(set.First()->GetDirectory2().GetType(), ADir::kTypePod);
}

TEST_F(DeviceSyncSetTest, AHostsSetStaysInsideTheFolderWhateverItsName) {
    FoundHost host{"../../evil", "127.0.0.1", 10564};
    DeviceSyncSet set(&progress, nullptr, AString());
    ASSERT_EQ(set.MakeRemote(nullptr, host, kModeCopy2To1), 0);
    ASSERT_EQ(set.Save(), 0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(home.SyncSetsFolder()))
        names.push_back(entry.path().filename().string());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(names[0].ends_with("evil.sync")) << names[0];
    EXPECT_FALSE(fs::exists(home.Folder().File("XDG_DATA_HOME/evil.sync")));

    DeviceSyncSet again(&progress, nullptr, AString());
    ASSERT_EQ(again.MakeRemote(nullptr, host, kModeSync), 0);
    EXPECT_EQ(again.Setting(), kModeCopy2To1) << "the host's set was read back";
}

TEST_F(DeviceSyncSetTest, AHostNamedLikeADeviceKeepsTheDevicesSetAside) {
    const DeviceSyncSet::Device pod = Database("pod", "0A1B2C3D");
    {
        DeviceSyncSet set(&progress, nullptr, AString());
        QString message;
        ASSERT_EQ(set.LoadRecent(&pod, kModeSync, message), 0);
        ASSERT_EQ(set.Save(), 0);
    }
    const std::vector<uint8_t> deviceSet = ReadBytes(SetFile("0A1B2C3D"));
    DeviceSyncSet set(&progress, nullptr, AString());
    ASSERT_EQ(set.MakeRemote(nullptr, FoundHost{"0A1B2C3D", "127.0.0.1", 10564}, kModeSync), 0);
    ASSERT_EQ(set.Save(), 0);
    EXPECT_EQ(ReadBytes(SetFile("0A1B2C3D") + ".bad"), deviceSet);
}

TEST_F(DeviceSyncSetTest, ANewDefaultSyncReplacesTheFirstAndKeepsTheOptionsOfTheSameDevice) {
    const DeviceSyncSet::Device pod = Database("pod", "0A1B2C3D", ADirPodDB::kVideoFamily);
    DeviceSyncSet set(&progress, nullptr, AString());
    QString message;
    ASSERT_EQ(set.LoadRecent(&pod, kModeSync, message), 0);
    EXPECT_GE(set.First()->GetTypeIncludeList().Find(AString(":m4v:"), 0, false), 0);
    set.First()->SetPathIncludeList(AString(":Rock:"));

    ASSERT_EQ(set.NewDefaultSync(&pod, AString("Road"), AString(), kModeCopy1To2), 0);
    ASSERT_EQ(set.Set().GetSyncCount(), 1);
    EXPECT_EQ(set.First()->GetPathIncludeList(), AString(":Rock:"));
    EXPECT_EQ(set.Setting(), kModeSync) << "the old sync's mode goes with its options";
    int result = 0;
    EXPECT_EQ(set.Bound(result)->playList1, AString("Road"));

    const DeviceSyncSet::Device other = Database("other", "99999999");
    ASSERT_EQ(set.NewDefaultSync(&other, AString(), AString(), kModeCopy1To2), 0);
    EXPECT_TRUE(set.First()->GetPathIncludeList().IsEmpty());
    EXPECT_EQ(set.Setting(), kModeCopy1To2);
}

} // namespace
