#include "foundation/AArray.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ToolActionPresenter.h"
#include "library/tools/ToolTestLists.h"
#include "support/AStringPrinting.h"

#include <functional>

namespace {

using Tool = std::function<int(ADirSong&, const CancelCallback&)>;

struct NamedTool {
    const char* name;
    Tool run;
};

const NamedTool kTools[] = {
    {"duplicates", [](ADirSong& l, const CancelCallback& c) { return l.FindDuplicates(1, 1, 1, c, 1); }},
    {"orphans", [](ADirSong& l, const CancelCallback& c) { return l.RemoveOrphans(c, 1); }},
    {"not owned", [](ADirSong& l, const CancelCallback& c) { return l.RemoveMusicNotOwned(1, c, 1); }},
    {"add disconnected",
     [](ADirSong& l, const CancelCallback& c) { return l.ScanDisconnectedFiles(1, c, 1); }},
    {"remove disconnected",
     [](ADirSong& l, const CancelCallback& c) { return l.ScanDisconnectedFiles(0, c, 1); }},
    {"album art", [](ADirSong& l, const CancelCallback& c) { return l.SaveAlbumArt(c, 1); }},
};

class ToolFrame : public ToolTest {
protected:
    void SetUp() override {
        Put("a.mp3", SongTags("Rock", "Abba", "Gold", "Waterloo"));
        Put("b.mp3", SongTags("Pop", "Queen", "Hits", "Bohemian"));
        Open(folder);
        folder.SetAllowedAppleIDs(AString(":me@home.com:"));
    }
};

} // namespace

TEST_F(ToolFrame, EveryToolAnswersBusyWhileTheListIsLockedAndTouchesNothing) {
    folder.GetToolActions().push_back(std::make_unique<SongToolAction>());
    const std::string logBefore = Log();
    ASSERT_TRUE(folder.GetLock().TryLock());
    for (const NamedTool& tool : kTools) {
        EXPECT_EQ(tool.run(folder, nullptr), kErrorBusy) << tool.name;
        EXPECT_EQ(folder.GetToolActions().size(), 1u) << tool.name;
    }
    EXPECT_EQ(Log(), logBefore);
    EXPECT_TRUE(presenter.Shown().empty());
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(ToolFrame, NothingFoundIsAMessageAndNoListAndTheLockIsFree) {
    const char* nothingFound[] = {"No Duplicates Detected!",          "No Orphans Detected!",
                                  "No Unowned Music Files Detected!", "No Disconnected Files Detected!",
                                  "No Disconnected Files Detected!",  "No Linked Artwork Detected!"};
    for (size_t i = 0; i < std::size(kTools); ++i) {
        user.messages.clear();
        EXPECT_EQ(kTools[i].run(folder, nullptr), 0) << kTools[i].name;
        ASSERT_EQ(user.messages.size(), 1u) << kTools[i].name;
        EXPECT_EQ(user.messages[0], AString(nothingFound[i]));
        EXPECT_TRUE(folder.GetLock().TryLock()) << kTools[i].name;
        folder.GetLock().Unlock();
    }
    EXPECT_TRUE(presenter.Shown().empty());
    EXPECT_TRUE(Logged("Scanning for Duplicates...\r\n"));
    EXPECT_TRUE(Logged("Ready.\r\n"));
    EXPECT_TRUE(Logged("No Orphans Detected!\r\n"));
    EXPECT_EQ(folder.saves, 0);
}

TEST_F(ToolFrame, WithoutInstalledToolsNoToolIsSupported) {
    ADirSong::SetLibraryTools(nullptr);
    for (const NamedTool& tool : kTools)
        EXPECT_EQ(tool.run(folder, nullptr), kErrorNotSupported) << tool.name;
    // The quick scan stays the song list's own.
    EXPECT_EQ(folder.FindDuplicates(0, 1, 1, nullptr, 0), 0);
}

TEST_F(ToolFrame, ACancelledScanEndsWithUserCancelledAndKeepsItsRows) {
    RemoveFile("a.mp3");
    RemoveFile("b.mp3");
    EXPECT_EQ(folder.RemoveOrphans([] { return 1; }, 1), kUserCancel);
    EXPECT_TRUE(Logged("User Cancelled.\r\n"));
    EXPECT_EQ(folder.GetToolActions().size(), 1u);
    EXPECT_TRUE(presenter.Shown().empty());
    EXPECT_EQ(folder.saves, 0);
}

TEST_F(ToolFrame, AQuietToolDoesNotLogItsEnd) {
    RemoveFile("a.mp3");
    EXPECT_EQ(folder.RemoveOrphans([] { return 1; }, 0), kUserCancel);
    EXPECT_FALSE(Logged("User Cancelled."));
}

TEST_F(ToolFrame, AListNotConfirmedChangesNothing) {
    RemoveFile("a.mp3");
    EXPECT_EQ(folder.RemoveOrphans(nullptr, 1), kUserCancel);
    EXPECT_FALSE(Logged("Preparing action list...")); // a status text only
    EXPECT_TRUE(Logged("User cancelled.\r\n"));
    EXPECT_EQ(folder.GetToolActions().size(), 1u);
    EXPECT_TRUE(folder.deletedTitles.empty());
    EXPECT_EQ(folder.saves, 0);
    EXPECT_TRUE(folder.GetLock().TryLock());
    folder.GetLock().Unlock();

    PutBytes("new.mp3", MakeMp3(SongTags("Rock", "New", "Album", "Fresh")));
    EXPECT_EQ(folder.ScanDisconnectedFiles(0, nullptr, 1), kUserCancel);
    EXPECT_TRUE(Logged("User Cancelled.\r\n"));
    EXPECT_TRUE(Exists("new.mp3"));
}

TEST_F(ToolFrame, WithoutAPresenterNobodyConfirms) {
    ADirSong::SetToolActionPresenter(nullptr);
    RemoveFile("a.mp3");
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.RemoveOrphans(nullptr, 1), kUserCancel);
    EXPECT_TRUE(folder.deletedTitles.empty());
}

TEST_F(ToolFrame, ListTitlesNameTheToolAndTheSide) {
    struct Case {
        uint32_t kind;
        uint32_t type;
        const char* title;
    };
    const Case cases[] = {
        {kToolRemoveOrphans, ADir::kTypeTunes, "Remove Orphans From iTunes - Entries to Remove"},
        {kToolRemoveOrphans, ADir::kTypePod, "Remove Orphans From iPod - Entries to Remove"},
        {kToolRemoveDuplicates, ADir::kTypePodDB, "Remove Duplicates From iPod - Songs to Remove"},
        {kToolRemoveMusicNotOwned, ADir::kTypeTunes, "Remove Music Not Owned From iTunes - Songs to Remove"},
        {kToolAddDisconnectedFiles, ADir::kTypePodDB, "Add Disconnected Files In iPod - Files to Add"},
        {kToolRemoveDisconnectedFiles, ADir::kTypeTunes,
         "Remove Disconnected Files In iTunes - Files to Remove"},
        {kToolSaveAlbumArt, ADir::kTypeTunes, "Save Album Art to Music Files In iTunes - Files to Modify"},
        {kToolAddSongFiles, ADir::kTypePod, "Add Song File(s) To iPod - Files to Add"},
        {kToolAddSongsList, ADir::kTypeTunes, "Add Song File(s) To iTunes - Files to Add"},
        // Any other list keeps the blank after the tool's name.
        {kToolRemoveOrphans, ADir::kTypeSongDir, "Remove Orphans "},
        {kToolRemoveOrphans, ADir::kTypeTunesRemote, "Remove Orphans "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToolActionListTitle(c.kind, c.type), AString(c.title)) << c.title;
}

TEST_F(ToolFrame, ShowingAListTakesTheDialogOfItsKind) {
    EXPECT_EQ(folder.ShowToolActionList(7), kErrorToolKind);
    EXPECT_TRUE(presenter.Shown().empty());

    presenter.QueueAnswers({true, false});
    EXPECT_EQ(folder.ShowToolActionList(kToolAddSongFiles), 0);
    EXPECT_EQ(folder.ShowToolActionList(kToolRemoveDuplicates), kUserCancel);
    const auto shown = presenter.Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[0].duplicates);
    EXPECT_EQ(shown[0].title, AString("Add Song File(s) "));
    // By the sync's action codes: two of each kind, then four unused, then "Undefined".
    ASSERT_EQ(shown[0].actionNames.size(), 11u);
    EXPECT_EQ(shown[0].actionNames[1], AString("Add Song File"));
    EXPECT_EQ(shown[0].actionNames[2], AString("Delete Song File"));
    EXPECT_EQ(shown[0].actionNames[5], AString("Replace Song File"));
    EXPECT_TRUE(shown[0].actionNames[9].IsEmpty());
    EXPECT_EQ(shown[0].actionNames[10], AString("Undefined"));
    EXPECT_TRUE(shown[1].duplicates);
    EXPECT_TRUE(shown[1].actionNames.empty());
}

TEST_F(ToolFrame, TheAddSongsListShowsTheSyncsActionsForItsTarget) {
    StandInList library(&progress, ADir::kTypeTunes);
    AArray actions;
    EXPECT_EQ(folder.ShowAddSongsActionList(library, actions, 1), kErrorAddListReserved);
    EXPECT_TRUE(presenter.Shown().empty());
    presenter.QueueAnswers({true});
    EXPECT_EQ(folder.ShowAddSongsActionList(library, actions, 0), 0);
    EXPECT_EQ(folder.ShowAddSongsActionList(library, actions, 0), kUserCancel);
    const auto shown = LastList();
    EXPECT_EQ(shown.kind, uint32_t(kToolAddSongsList));
    EXPECT_EQ(shown.title, AString("Add Song File(s) To iTunes - Files to Add"));
    EXPECT_EQ(shown.addActions, &actions);
    EXPECT_EQ(shown.actionNames.size(), 11u);
}
