#include "library/tools/ToolActionPerformer.h"

#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/tools/ToolTestLists.h"
#include "support/AStringPrinting.h"

namespace {

class PerformActions : public ToolTest {
protected:
    void SetUp() override {
        for (const char* title : {"A", "B", "C"})
            Put(std::string(title) + ".mp3", SongTags("Rock", "Abba", "Gold", title));
        Open(folder);
    }

    // Orphan rows for the songs in list order, checked as given.
    void AddOrphanRows(std::initializer_list<bool> checked) {
        int index = 0;
        for (bool isChecked : checked) {
            auto row = std::make_unique<SongToolAction>();
            row->kind = kToolRemoveOrphans;
            row->checked = isChecked ? 1 : 0;
            row->entry = *folder.GetEntry(index++);
            row->displayText = row->entry;
            folder.GetToolActions().push_back(std::move(row));
        }
    }

    int Perform(const CancelCallback& callback = nullptr) {
        ToolActionPerformer performer(folder, callback);
        const int result = performer.Perform();
        performed = performer.PerformedCount();
        return result;
    }

    int performed = 0;
};

} // namespace

TEST_F(PerformActions, AnUncheckedRowIsNeitherPerformedNorFollowedByACancelCheck) {
    AddOrphanRows({true, false, true});
    int cancelChecks = 0;
    EXPECT_EQ(Perform([&cancelChecks] { return ++cancelChecks, 0; }), 0);
    EXPECT_EQ(folder.deletedTitles, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(cancelChecks, 2);
    EXPECT_EQ(performed, 2);
    EXPECT_TRUE(Logged("Removing Orphan: \\Rock\\Abba\\Gold\\C\\mp3?2\r\n"));
    EXPECT_FALSE(Logged("Removing Orphan: \\Rock\\Abba\\Gold\\B"));
    EXPECT_TRUE(Logged("Performing actions...\r\n"));
    EXPECT_TRUE(Logged("Actions completed.\r\n"));
}

// Without AskOnError an error is dropped; with it, No goes on and the last row's result stays, Yes
// stops; a full disk stops at once, unasked.
TEST_F(PerformActions, ErrorsAreDroppedAskedAboutOrStopPerforming) {
    struct Case {
        uint32_t askOnError;
        std::vector<int> buttons;
        int failA;
        int failC;
        int result;
        std::vector<std::string> deleted;
        size_t questions;
        const char* endText;
    };
    const Case cases[] = {
        {0, {}, kErrorInvalidPath, kErrorInvalidPath, 0, {"A", "B", "C"}, 0, "Actions completed."},
        {1,
         {1, 1},
         kErrorInvalidPath,
         kErrorInvalidPath,
         kErrorInvalidPath,
         {"A", "B", "C"},
         2,
         "Error: -5: Invalid path."},
        {1, {1}, kErrorInvalidPath, 0, 0, {"A", "B", "C"}, 1, "Actions completed."},
        {1, {0}, kErrorInvalidPath, 0, kErrorInvalidPath, {"A"}, 1, "Error: -5: Invalid path."},
        {1,
         {},
         kErrorNoSpace,
         0,
         kErrorNoSpace,
         {"A"},
         0,
         "Error: -102394: Insufficient free space or Volume Full."},
    };
    for (const Case& c : cases) {
        folder.SetAskOnError(c.askOnError);
        folder.deleteResults = {{"A", c.failA}, {"B", 0}, {"C", c.failC}};
        folder.deletedTitles.clear();
        folder.ClearToolActions();
        user.alerts.clear();
        for (int button : c.buttons)
            user.QueueAnswers({button});
        AddOrphanRows({true, true, true});
        EXPECT_EQ(Perform(), c.result) << c.endText;
        EXPECT_EQ(folder.deletedTitles, c.deleted) << c.endText;
        EXPECT_EQ(user.alerts.size(), c.questions) << c.endText;
        EXPECT_TRUE(Log().ends_with(std::string(c.endText) + "\r\n")) << c.endText;
    }
}

TEST_F(PerformActions, ACancelStopsAfterTheRowAtHand) {
    AddOrphanRows({true, true, true});
    EXPECT_EQ(Perform([] { return 1; }), kUserCancel);
    EXPECT_EQ(folder.deletedTitles, std::vector<std::string>{"A"});
    EXPECT_TRUE(Logged("Terminated by user cancel.\r\n"));
}

// Whatever order the rows stand in, the removals run from the highest entry index down, so each
// removes the entry it names: in row order the second removal would hit the kept copy.
TEST_F(PerformActions, DuplicateRemovalsRunFromTheHighestIndexDown) {
    for (const char* name : {"e0.mp3", "e1.mp3", "e2.mp3"})
        Put(name, SongTags("Pop", "Abba", "Gold", "Same"));
    StandInList copies(&progress, ADir::kTypeSongDir);
    Open(copies);
    copies.Sort(1);
    std::vector<int> sameIndexes;
    for (int i = 0; i < copies.GetCount(); ++i) {
        if (copies.TitleOf(*copies.GetEntry(i)) == "Same")
            sameIndexes.push_back(i);
    }
    ASSERT_EQ(sameIndexes.size(), 3u);
    auto makeRow = [&copies](int index) {
        auto row = std::make_unique<SongToolAction>();
        row->kind = kToolRemoveDuplicates;
        row->entry = *copies.GetEntry(index);
        row->entryIndex = static_cast<uint32_t>(index);
        row->group = 1;
        return row;
    };
    SongToolActions& rows = copies.GetToolActions();
    rows.push_back(makeRow(sameIndexes[0]));
    rows.push_back(makeRow(sameIndexes[1]));
    rows.push_back(makeRow(sameIndexes[2]));
    MakeKeptRow(rows, 2);
    ToolActionPerformer performer(copies, nullptr);
    EXPECT_EQ(performer.Perform(), 0);
    EXPECT_EQ(copies.GetCount(), 4);
    EXPECT_TRUE(Exists("e2.mp3"));
    EXPECT_FALSE(Exists("e0.mp3"));
    EXPECT_FALSE(Exists("e1.mp3"));
}

TEST_F(PerformActions, AddSongRowsGiveTheirFileToTheList) {
    auto row = std::make_unique<SongToolAction>();
    row->entry = Music("A.mp3");
    row->displayText = row->entry;
    folder.GetToolActions().push_back(std::move(row));
    EXPECT_EQ(Perform(), 0);
    EXPECT_EQ(folder.addedSongs, std::vector<std::string>{Music("A.mp3").ToUtf8()});
    EXPECT_TRUE(Logged("Adding Song File: " + Music("A.mp3").ToUtf8()));
}

// The database follows the files: it is saved once a row was carried out, also when the user then
// cancels; when no row was carried out it is left alone.
TEST_F(PerformActions, TheDatabaseIsSavedWheneverARowWasCarriedOut) {
    RemoveFile("A.mp3");
    RemoveFile("B.mp3");
    int calls = 0;
    const int scanCalls = folder.GetCount();
    presenter.QueueAnswers({true, true});
    EXPECT_EQ(folder.RemoveOrphans([&] { return ++calls > scanCalls ? 1 : 0; }, 1), kUserCancel);
    EXPECT_EQ(folder.deletedTitles, std::vector<std::string>{"A"});
    EXPECT_EQ(folder.saves, 1);

    presenter.SetEdit([](SongToolActions& rows) {
        for (auto& row : rows)
            row->checked = 0;
    });
    EXPECT_EQ(folder.RemoveOrphans(nullptr, 1), 0);
    EXPECT_EQ(folder.saves, 1);
}
