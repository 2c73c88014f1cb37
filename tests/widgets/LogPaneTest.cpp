#include "widgets/LogPane.h"

#include "WidgetTestSupport.h"
#include "foundation/AProgress.h"

#include <QScrollBar>
#include <gtest/gtest.h>
#include <thread>

TEST(LogPaneTest, LinesLoggedOnAWorkerArriveInOrderAndKeepTheEndInView) {
    QWidget window;
    LogPane pane(1100, &window);
    pane.resize(300, 80);
    window.show();
    AProgress progress;
    progress.SetLogWindow(&pane);
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) {
            progress.Log(AString::FromInt(i));
            progress.Log("\r\n", true);
        }
    });
    worker.join();
    progress.SetLogWindow(nullptr);
    Drain();
    QString expected;
    for (int i = 0; i < 50; ++i)
        expected += QString::number(i) + QLatin1Char('\n');
    EXPECT_EQ(pane.toPlainText(), expected);
    EXPECT_EQ(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum());
}

TEST(LogPaneTest, ClearingDropsWhatCameBeforeItOnly) {
    QWidget window;
    LogPane pane(1100, &window);
    std::thread worker([&] {
        pane.AppendText(AString("before\r\n"));
        pane.ClearText();
        pane.AppendText(AString("after"));
    });
    worker.join();
    Drain();
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("after"));
}
