#include "widgets/AStatus.h"

#include "WidgetTestSupport.h"
#include "foundation/AProgress.h"
#include "widgets/ControlMessages.h"
#include "widgets/Skin.h"
#include "widgets/ToolkitFonts.h"

#include <QTest>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr QSize kStripSize(390, 49);

// Counts the paints and timer ticks a widget receives.
class EventCounter : public QObject {
public:
    int paints = 0;
    int ticks = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        if (event->type() == QEvent::Timer)
            ++ticks;
        return false;
    }
};

class AStatusTest : public testing::Test {
protected:
    AStatusTest() : status(1000, &parent) {
        status.setGeometry(QRect(QPoint(10, 10), kStripSize));
        status.SetTextFont(toolkitfonts::Tahoma13());
    }

    void Show(int state, const char* line1, const char* line2) {
        const AString text1(line1);
        const AString text2(line2);
        status.SetStatus(state, &text1, &text2, false);
    }

    // Rows of the text rectangle that hold dark text pixels.
    std::vector<int> InkRows() {
        const QImage image = DrawControl(status);
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 40; x < image.width() - 40; ++x) {
                if (qGray(image.pixel(x, y)) < 80) {
                    rows.push_back(y);
                    break;
                }
            }
        }
        return rows;
    }

    MessageRecorder parent;
    AStatus status;
};

} // namespace

TEST_F(AStatusTest, ANewStripShowsTheIdlePictureUntilTheFirstStatus) {
    const QImage fresh = DrawControl(status);
    Show(1, "Ready", "");
    const QImage ready = DrawControl(status);
    EXPECT_NE(fresh, ready);
    status.Refresh();
    EXPECT_EQ(DrawControl(status), fresh) << "Refresh brings the idle picture back";
    status.SetStatus(1, nullptr, nullptr, false);
    EXPECT_EQ(DrawControl(status), ready) << "the stored texts show again at the next SetStatus";
}

TEST_F(AStatusTest, EqualLinesAreOneLineOverTheWholeTextRectangle) {
    const int middle = kStripSize.height() / 2;
    Show(2, "Loading", "Loading");
    const std::vector<int> equal = InkRows();
    ASSERT_FALSE(equal.empty());
    EXPECT_NEAR((equal.front() + equal.back()) / 2.0, middle, 3);

    Show(2, "Loading", "Songs");
    const std::vector<int> different = InkRows();
    ASSERT_FALSE(different.empty());
    EXPECT_LT(different.front(), middle - 4);
    EXPECT_GT(different.back(), middle + 4);

    Show(2, "", "");
    EXPECT_TRUE(InkRows().empty()) << "empty texts draw nothing";
}

TEST_F(AStatusTest, TheBarFillsItsShareOfTheInnerWidth) {
    struct Case {
        double position;
        double range;
        int fill;
    };
    // The bar is a quarter in from the left and half the strip wide; its inner width is 193 pixels.
    const Case cases[] = {{50, 100, 96}, {100, 100, 193}, {150, 100, 193}, {0.25, 1, 48},
                          {50, 0, 0},    {50, -5, 0},     {-3, 100, 0}};
    const QImage fill = skin::Load(skin::kBarFill);
    const int barLeft = kStripSize.width() / 4;
    const int barTop = 2 + 2 * (kStripSize.height() / 3);
    const int row = barTop + 3;
    for (const Case& c : cases) {
        Show(3, "Copying", "song");
        status.SetRange(c.range);
        status.SetPos(c.position);
        const QImage image = DrawControl(status);
        int filled = 0;
        for (int x = barLeft + 1; x < barLeft + kStripSize.width() / 2 - 1; ++x)
            filled += image.pixel(x, row) == fill.pixel(0, row - barTop - 1);
        EXPECT_EQ(filled, c.fill) << c.position << " of " << c.range;
    }
}

TEST_F(AStatusTest, SetRangeAloneDoesNotRepaintAndSettersDo) {
    parent.show();
    EventCounter counter;
    status.installEventFilter(&counter);
    Drain();
    counter.paints = 0;
    status.SetRange(5);
    Drain();
    EXPECT_EQ(counter.paints, 0);
    status.SetPos(1);
    Drain();
    EXPECT_EQ(counter.paints, 1);
}

TEST_F(AStatusTest, AProgressOnAWorkerRepaintsAtMostOncePerTick) {
    parent.show();
    Drain();
    EventCounter counter;
    status.installEventFilter(&counter);
    AProgress progress;
    progress.SetStatus(&status);
    const AString text("Copying");
    std::atomic<bool> done{false};
    std::thread worker([&] {
        progress.Start(&text, false, true);
        for (int i = 1; i <= 10000; ++i)
            progress.SetPos(i / 10000.0, &text, &text);
        done = true;
    });
    SpinUntil([&] { return done.load(); });
    worker.join();
    EXPECT_TRUE(SpinUntil([&] { return counter.ticks >= 2; }));
    // The one extra paint is Start's own update, made before the animation ran.
    EXPECT_LE(counter.paints, counter.ticks + 1);
    EXPECT_GE(counter.paints, 1);

    std::thread finisher([&] { progress.Finish(); });
    finisher.join();
    progress.SetStatus(nullptr);
    Drain();
    const int ticks = counter.ticks;
    SpinFor(std::chrono::milliseconds(AStatus::kAnimationMilliseconds + 50));
    EXPECT_EQ(counter.ticks, ticks) << "the animation timer stops with the operation";
}

TEST_F(AStatusTest, OnlyAReleaseOnTheCancelButtonPostsCancelOperation) {
    status.ShowCancelButton(true);
    Show(3, "Syncing", "Comparing");
    DrawControl(status); // places the cancel button
    const QPoint cancel(kStripSize.width() - 18, kStripSize.height() / 2);
    const QPoint outside(kStripSize.width() / 2, kStripSize.height() / 2);

    QTest::mousePress(&status, Qt::LeftButton, {}, cancel);
    QTest::mouseRelease(&status, Qt::LeftButton, {}, outside);
    Drain();
    EXPECT_TRUE(parent.messages.empty());

    QTest::mousePress(&status, Qt::LeftButton, {}, outside);
    QTest::mouseRelease(&status, Qt::LeftButton, {}, cancel);
    Drain();
    EXPECT_TRUE(parent.messages.empty()) << "a press off the button is no press of it";

    QTest::mousePress(&status, Qt::LeftButton, {}, cancel);
    QTest::mouseRelease(&status, Qt::LeftButton, {}, cancel);
    Drain();
    ASSERT_EQ(parent.messages.size(), 1u);
    EXPECT_EQ(parent.messages[0].number, controlmsg::kWmCancelOperation);
    EXPECT_EQ(parent.messages[0].wParam, 0);
    EXPECT_EQ(parent.messages[0].lParam, 0);
}
