#include "foundation/AProgress.h"

#include "foundation/AProgressLite.h"
#include "foundation/ErrorCodes.h"
#include "foundation/HeadlessUserInterface.h"
#include "support/AStringPrinting.h"
#include "support/RecordingProgressViews.h"
#include "support/RecordingUserInterface.h"

#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace {

class AProgressTest : public testing::Test {
protected:
    AProgressTest() {
        progress.SetStatus(&status);
        progress.SetLogWindow(&log);
    }

    double LastPosition() const { return status.positions.empty() ? -1 : status.positions.back(); }

    RecordingStatusView status;
    RecordingLogView log;
    AProgress progress;
};

} // namespace

TEST_F(AProgressTest, PositionsWithoutARangeStartFromTheCurrentPosition) {
    progress.Start();
    progress.SetPos(0.5);
    EXPECT_DOUBLE_EQ(LastPosition(), 0.5);
    progress.SetPos(0.5);
    EXPECT_DOUBLE_EQ(LastPosition(), 0.5);
}

TEST_F(AProgressTest, RangesMapOntoTheWholeOneAfterAnother) {
    progress.Start();
    progress.PushRange(0.5);
    progress.SetPos(0.5);
    EXPECT_DOUBLE_EQ(LastPosition(), 0.25);
    progress.PopRange();
    EXPECT_DOUBLE_EQ(LastPosition(), 0.5);
    progress.PushRange(0.5);
    progress.SetPos(1.0);
    EXPECT_DOUBLE_EQ(LastPosition(), 1.0);
    progress.Finish();
    EXPECT_DOUBLE_EQ(LastPosition(), 1.0);
    EXPECT_DOUBLE_EQ(progress.GetCurrentPosition(), 0.0);
}

TEST_F(AProgressTest, NestedRangesSplitTheirParent) {
    progress.Start();
    progress.PushRange(0.5);
    progress.PushRange(0.5);
    progress.SetPos(1.0);
    EXPECT_DOUBLE_EQ(LastPosition(), 0.25);
    progress.PopRange();
    progress.PushRange(0.5);
    progress.SetPos(0.5);
    EXPECT_DOUBLE_EQ(LastPosition(), 0.375);
    progress.PopRange();
    EXPECT_DOUBLE_EQ(LastPosition(), 0.5);
    progress.PopRange();
    EXPECT_DOUBLE_EQ(LastPosition(), 0.5);
    EXPECT_DOUBLE_EQ(progress.GetCurrentPosition(), 0.5);
}

TEST_F(AProgressTest, PositionLimitsAndNegativePositions) {
    progress.Start();
    EXPECT_DOUBLE_EQ(progress.MapToOverall(1.0005), 1.0005);
    EXPECT_DOUBLE_EQ(progress.MapToOverall(1.001), 1.0);
    const size_t shown = status.positions.size();
    const AString text("only the text");
    progress.SetPos(-1, &text);
    EXPECT_EQ(status.positions.size(), shown);
    EXPECT_EQ(status.line1, "only the text");
}

TEST_F(AProgressTest, PopWithoutAnOpenRangeDoesNothing) {
    progress.Start();
    const size_t shown = status.positions.size();
    progress.PopRange();
    EXPECT_EQ(status.positions.size(), shown);
    EXPECT_DOUBLE_EQ(progress.GetCurrentPosition(), 0.0);
}

TEST_F(AProgressTest, StartAndFinishDriveTheStripAndLog) {
    const AString text("Syncing");
    progress.Start(&text, true, true);
    EXPECT_TRUE(progress.IsRunning());
    EXPECT_EQ(status.line1, "Syncing");
    EXPECT_EQ(status.line2, "Syncing");
    EXPECT_EQ(status.animationStarts, 1);
    EXPECT_EQ(status.states.back(), ProgressStatusView::kProgressBar);
    const std::regex stamped(R"(\d{4} [A-Z][a-z]+ \d{2} - \d{2}:\d{2}:\d{2}: Syncing\r\n)");
    EXPECT_TRUE(std::regex_match(log.text.ToUtf8(), stamped)) << log.text.ToUtf8();
    progress.Finish();
    EXPECT_FALSE(progress.IsRunning());
    EXPECT_EQ(status.animationStops, 1);
}

TEST_F(AProgressTest, EachOperationDrivesTheStripInItsOrder) {
    using Calls = std::vector<std::string>;
    const struct {
        const char* what;
        std::function<void()> operation;
        Calls calls;
    } cases[] = {
        {"start", [&] { progress.Start(); }, {"range", "pos", "status", "animate"}},
        {"start again", [&] { progress.Start(); }, {"range", "status", "animate"}},
        {"push", [&] { progress.PushRange(0.5); }, {"pos", "status"}},
        {"set", [&] { progress.SetPos(0.5); }, {"pos", "status"}},
        {"set no position", [&] { progress.SetPos(-1); }, {"status"}},
        {"pop", [&] { progress.PopRange(); }, {"pos", "status"}},
        {"finish", [&] { progress.Finish(); }, {"still", "pos", "status"}},
        {"finish again", [&] { progress.Finish(); }, {"still", "status"}},
    };
    for (const auto& c : cases) {
        status.calls.clear();
        c.operation();
        EXPECT_EQ(status.calls, c.calls) << c.what;
    }
    for (int state : status.states)
        EXPECT_EQ(state, ProgressStatusView::kProgressBar);
}

TEST_F(AProgressTest, PushRangeShowsItsTextInTheFirstLineOnly) {
    progress.Start();
    const AString text("Copying");
    progress.PushRange(0.5, &text, false, true);
    EXPECT_EQ(status.line1, "Copying");
    EXPECT_EQ(status.line2, "");
}

TEST_F(AProgressTest, ErrorLinesCarryTheCodeAndItsText) {
    progress.LogError(0, AString("nothing"), AString());
    EXPECT_EQ(log.text, "");
    progress.LogError(-5, AString("Copy failed: "), AString("/a.mp3"));
    EXPECT_EQ(log.text, "Copy failed: /a.mp3 ERROR=-5: Invalid path.\r\n");
}

TEST(AProgress, LogWaitsForItsWindow) {
    AProgress progress;
    progress.Log("early ");
    progress.Log("text", true);
    RecordingLogView log;
    progress.SetLogWindow(&log);
    EXPECT_EQ(log.text, "");
    progress.FlushLog();
    EXPECT_EQ(log.text, "early text");
    EXPECT_EQ(progress.PendingLog(), "");
}

// Quiet means nothing shown; what is logged (errors above all) is kept for whoever reads it.
TEST(AProgress, QuietProgressShowsNothingButKeepsItsLog) {
    AProgressLite quiet;
    RecordingStatusView status;
    quiet.SetStatus(&status);
    quiet.Start();
    quiet.SetPos(0.5, nullptr, nullptr, nullptr, false);
    quiet.LogError(-5, AString("Copy failed: "), AString("/a.mp3"));
    EXPECT_TRUE(status.positions.empty());
    EXPECT_NE(quiet.PendingLog().Find("Copy failed: /a.mp3 ERROR=-5: Invalid path."), -1);
}

TEST(AProgress, PromptsMapButtonsToAnswers) {
    RecordingUserInterface user;
    user.QueueAnswers({0, 1, 2, 3, -1});
    const AString a("/a.mp3"), b("/b.mp3");
    EXPECT_EQ(AProgress::AskYesNoAll(AString("Replace?"), &a, &b), AProgress::kAnswerYes);
    EXPECT_EQ(AProgress::AskYesNoAll(AString("Delete?"), &a, nullptr), AProgress::kAnswerNo);
    EXPECT_EQ(AProgress::AskYesNoAll(AString("x"), &a, nullptr), AProgress::kAnswerYesToAll);
    EXPECT_EQ(AProgress::AskYesNoAll(AString("x"), &a, nullptr), AProgress::kAnswerNoToAll);
    EXPECT_EQ(AProgress::AskYesNo(AString("Quit?")), AProgress::kAnswerNone);
    ASSERT_EQ(user.alerts.size(), 5u);
    EXPECT_EQ(user.alerts[0].descriptions[0], "Copy");
    EXPECT_EQ(user.alerts[0].descriptions[3], "/b.mp3");
    EXPECT_EQ(user.alerts[1].descriptions[0], "Delete");
    EXPECT_EQ(user.alerts[1].buttons[3], "No to All");
    EXPECT_EQ(user.alerts[4].buttons[2], "");
}

TEST(AProgress, NobodyToAskMeansNo) {
    EXPECT_EQ(AProgress::AskYesNo(AString("Delete everything?")), AProgress::kAnswerNo);
    const AString path("/x");
    EXPECT_EQ(AProgress::AskYesNoAll(AString("Delete?"), &path, nullptr), AProgress::kAnswerNo);
}

TEST(AProgress, MessagesAreLoggedAndShown) {
    RecordingUserInterface user;
    AProgress progress;
    EXPECT_EQ(progress.Message(AString("Done"), true), 1);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], "Done");
    EXPECT_NE(progress.PendingLog().Find("Done\r\n"), -1);
}

TEST(AProgress, AMessageCarriesItsTitleToTheUser) {
    RecordingUserInterface user;
    AProgress progress;
    progress.Message(AString("An error occurred communicating with the remote."), false, AString("Communication Error"));
    progress.Message(AString("Nothing to Sync!"), true);
    ASSERT_EQ(user.titles.size(), 2u);
    EXPECT_EQ(user.titles[0], "Communication Error");
    EXPECT_EQ(user.titles[1], "") << "no title: the program's name";
    EXPECT_EQ(progress.PendingLog().Find("communicating"), -1) << "not logged when not asked";
}

// A quiet progress object of a long run (and any whose log no pane takes) keeps its newest lines only.
TEST(AProgress, ALogThatNobodyTakesStaysBounded) {
    AProgressLite quiet;
    const AString line("Copying /music/a song with a long name.mp3 ERROR=-36: IO error.\r\n");
    const int lines = 3 * AProgress::kPendingLogLimit / line.GetLength();
    for (int i = 0; i < lines; ++i)
        quiet.Log(line);
    quiet.Log("the last line\r\n");
    const AString kept = quiet.PendingLog();
    EXPECT_LE(kept.GetLength(), AProgress::kPendingLogLimit);
    EXPECT_GE(kept.GetLength(), AProgress::kPendingLogLimit / 2);
    EXPECT_EQ(kept.Left(5), "...\r\n") << "older lines went, whole ones";
    EXPECT_EQ(kept.Mid(5, line.GetLength()), line);
    EXPECT_EQ(kept.Right(15), "the last line\r\n");
}
