// What the user reads when a sync cannot start: a list that cannot reach the other computer has the
// sync's progress for its own lines before it connects, and the failure comes under its title; the song
// sync's refusals come under theirs.

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "support/RecordingUserInterface.h"
#include "sync/LibraryPodFixture.h"
#include "sync/PlayListPod.h"
#include "sync/ScriptedSources.h"
#include "sync/SongListFactory.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kBuildBoth = ASync::kBuildList1 | ASync::kBuildList2;

// Notes, in one list shared by all of them, when a list is given its link's progress and when it
// connects.
class LinkList : public ScriptedList {
public:
    LinkList(std::vector<std::string>& events, const char* name) : m_events(events), m_name(name) {}

    void SetLinkProgress(AProgress* progress) override {
        m_events.push_back(m_name + (progress == expectedProgress ? " progress" : " other progress"));
    }
    int Connect() override {
        m_events.push_back(m_name + " connect");
        return connectResult;
    }

    AProgress* expectedProgress = nullptr;

private:
    std::vector<std::string>& m_events;
    std::string m_name;
};

} // namespace

TEST(SyncMessages, AListGetsTheProgressBeforeItConnectsAndItsFailureComesUnderItsTitle) {
    struct Case {
        int connectResult;
        std::vector<AString> messages;
        std::vector<AString> titles;
    };
    // A link that could not be reached has told the user already.
    const Case cases[] = {
        {kErrorNotConnected,
         {AString("An error occurred communicating with the remote.")},
         {AString("Communication Error")}},
        {kErrorRemoteUnreached, {}, {}},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.connectResult);
        RecordingUserInterface user;
        AProgress progress;
        ASync sync(&progress);
        std::vector<std::string> events;
        auto makeList = [&](const char* name, int result) {
            auto list = std::make_shared<LinkList>(events, name);
            list->expectedProgress = &progress;
            list->connectResult = result;
            return list;
        };
        sync.SetSideLists(ASync::kSide1, makeList("list1", 0), makeList("snapshot1", 0));
        sync.SetSideLists(ASync::kSide2, makeList("list2", item.connectResult), makeList("snapshot2", 0));

        EXPECT_EQ(sync.Sync(CancelCallback(), kBuildBoth, false), item.connectResult);
        EXPECT_EQ(events, (std::vector<std::string>{"list1 progress", "list1 connect", "snapshot1 progress",
                                                    "snapshot1 connect", "list2 progress", "list2 connect"}));
        EXPECT_EQ(user.messages, item.messages);
        EXPECT_EQ(user.titles, item.titles);
    }
}

namespace {

// An iPod seen through the music application whose chosen playlist may be one the user cannot change.
class ReadOnlyPlayListPod : public PlayListPod {
public:
    using PlayListPod::PlayListPod;
    int IsPlayListReadOnly() override { return readOnly; }
    static inline int readOnly = 0;
};

class SongSyncRefusals : public LibraryPodFixture {
protected:
    void SetUp() override {
        LibraryPodFixture::SetUp();
        SongListFactory::Register(
            ADir::kTypePod, [](AProgress* list) { return std::make_unique<ReadOnlyPlayListPod>(list); });
        ReadOnlyPlayListPod::readOnly = 0;
    }

    // A song folder to the iPod; the iPod's root is set unless its volume is to be missing.
    std::unique_ptr<ASyncLib> FolderToPod(bool podFound) {
        auto sync = std::make_unique<ASyncLib>(ADir::kTypeSongDir, ADir::kTypePod, &progress);
        sync->SetDirection(kDirection1To2);
        const AString songs(dir.File("songs").c_str());
        sync->BuildList1(&songs, CancelCallback(), false, false);
        if (podFound) {
            const AString podRoot(PodRoot().c_str());
            sync->BuildList2(&podRoot, CancelCallback(), false, false);
        }
        return sync;
    }

    PlayListPods pods;
};

} // namespace

TEST_F(SongSyncRefusals, EachRefusalComesUnderItsTitle) {
    struct Case {
        const char* name;
        bool podFound;
        bool automaticUpdate;
        int readOnly;
        int expected;
        const char* title;
    };
    const Case cases[] = {
        {"no volume", false, false, 0, kErrorPodVolumeNotFound, "iPod's volume not found!"},
        {"automatic update", true, true, 0, kErrorPodAutoUpdate, "iPod set to Automatic Update"},
        {"read-only playlist", true, false, 1, kErrorInvalidPlayList, "Read Only Playlist"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.name);
        user.messages.clear();
        user.titles.clear();
        WritePodPrefs(item.automaticUpdate, 0);
        ReadOnlyPlayListPod::readOnly = item.readOnly;
        const auto sync = FolderToPod(item.podFound);
        EXPECT_EQ(sync->Sync(CancelCallback(), kBuildBoth, false), item.expected);
        ASSERT_EQ(user.titles.size(), 1U);
        EXPECT_EQ(user.titles[0], item.title);
        EXPECT_EQ(sync->GetActionCount(), 0);
    }
}
