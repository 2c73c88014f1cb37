#include "app/window/PacedLogView.h"
#include "harness/QtPrinting.h"
#include "widgets/LogPane.h"
#include "widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(PacedLogViewTest, LinesFromAWorkerShowWholeAndInOrderAcrossSlices) {
    LogPane pane(1009, nullptr);
    PacedLogView view(pane);
    constexpr int kLines = 5000;
    std::thread worker([&] {
        for (int i = 0; i < kLines; ++i)
            view.AppendText(AString(("line " + std::to_string(i) + "\n").c_str()));
    });
    worker.join();
    // Far more than one slice is waiting: each turn of the event loop shows one.
    ASSERT_GT(5000 * 9, PacedLogView::kSliceChars);
    ASSERT_TRUE(SpinUntil([&] { return !view.HasPending(); }));
    const QStringList lines = pane.toPlainText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kLines);
    for (int i = 0; i < kLines; i += 997)
        EXPECT_EQ(lines[i], QStringLiteral("line %1").arg(i));
}

TEST(PacedLogViewTest, ClearingDropsWhatWasNotShownYet) {
    LogPane pane(1009, nullptr);
    PacedLogView view(pane);
    view.AppendText(AString("before\n"));
    view.ClearText();
    view.AppendText(AString("after\n"));
    ASSERT_TRUE(SpinUntil([&] { return !view.HasPending(); }));
    Drain();
    EXPECT_EQ(pane.toPlainText(), "after\n");
}

} // namespace
