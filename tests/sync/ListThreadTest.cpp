// A remote Directory 2 is built on the list thread while Directory 1 is built on the caller's; the
// thread reads the host's cancel request and tells the host when it runs.

#include "foundation/ErrorCodes.h"
#include "support/RecordingUserInterface.h"
#include "sync/HeadlessSyncHost.h"
#include "sync/ScriptedSources.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;

class RemoteSide : public ::testing::Test {
protected:
    void SetUp() override {
        folders.Put(1, "a.mp3", "a");
        folders.Put(2, "b.mp3", "b");
        sync.UseScriptedLists(ADir::kTypeDir, ADir::kTypeTunesRemote);
        sync.SetHost(&host);
        folders.SetRoots(sync);
    }

    SyncFolders folders;
    HeadlessSyncHost host;
    ScriptedSync sync;
};

} // namespace

TEST_F(RemoteSide, IsBuiltOnTheListThread) {
    EXPECT_EQ(sync.BuildLists(CancelCallback(), kBuildBoth), 0);
    EXPECT_EQ(host.GetListThreadStarts(), 1);
    EXPECT_FALSE(host.IsListThreadRunning());
    EXPECT_EQ(sync.GetDirectory1().GetCount(), 1);
    EXPECT_EQ(sync.GetDirectory2().GetCount(), 1);
}

TEST_F(RemoteSide, AFailureOnTheListThreadIsTheResult) {
    folders.Remove(2, "");
    EXPECT_EQ(sync.BuildLists(CancelCallback(), kBuildBoth), kErrorInvalidPath);
    EXPECT_FALSE(host.IsListThreadRunning());
}

TEST_F(RemoteSide, TheListThreadStopsOnTheHostsCancelRequest) {
    host.RequestCancel();
    EXPECT_EQ(sync.BuildLists(CancelCallback(), kBuildBoth), kUserCancel);
    EXPECT_EQ(sync.GetDirectory1().GetCount(), 1);
}

TEST_F(RemoteSide, AConnectionFailureEndsTheSyncBeforeAnythingIsBuilt) {
    RecordingUserInterface user;
    sync.List(2).connectResult = kErrorNotConnected;
    EXPECT_EQ(sync.Sync(CancelCallback(), kBuildBoth, false), kErrorNotConnected);
    EXPECT_EQ(sync.GetDirectory1().GetCount(), 0);
    EXPECT_EQ(user.messages,
              std::vector<AString>{AString("An error occurred communicating with the remote.")});

    // A link failure the link has reported itself is not told twice.
    user.messages.clear();
    sync.List(2).connectResult = -10565;
    EXPECT_EQ(sync.Sync(CancelCallback(), kBuildBoth, false), -10565);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(RemoteSide, BuildingDirectory1AloneStartsNoThread) {
    EXPECT_EQ(sync.BuildLists(CancelCallback(), ASync::kBuildList1), 0);
    EXPECT_EQ(host.GetListThreadStarts(), 0);
    EXPECT_EQ(sync.GetDirectory2().GetCount(), 0);
}
