#include "widgets/WaitDlg.h"

#include "WidgetTestSupport.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QProgressBar* Bar(const QWidget& dialog) {
    return dialog.findChild<QProgressBar*>(ControlName(WaitDlg::kProgressId));
}

QPushButton* CancelButton(const QWidget& dialog) {
    return dialog.findChild<QPushButton*>(ControlName(WaitDlg::kCancelId));
}

} // namespace

TEST(WaitDlgTest, FiftyStepsEndWithIdOkAndMoveTheBarInStepsOfTwo) {
    WaitDlg wait;
    wait.stepCount = 50;
    wait.stepLength = 2; // the test's scale of 100 ms
    wait.message = QStringLiteral("Preparing to Auto Run...");
    std::vector<int> values;
    QObject::connect(Bar(wait), &QProgressBar::valueChanged, [&](int value) { values.push_back(value); });
    EXPECT_EQ(wait.DoModal(), nativeui::kIdOk);
    std::vector<int> expected{0};
    for (int step = 1; step <= 50; ++step)
        expected.push_back(2 * step);
    values.erase(std::unique(values.begin(), values.end()), values.end());
    EXPECT_EQ(values, expected);
}

TEST(WaitDlgTest, NoStepsEndAtOnceWithIdOk) {
    WaitDlg wait;
    wait.stepLength = 100;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(wait.DoModal(), nativeui::kIdOk);
    EXPECT_LT(timer.elapsed(), 100);
}

TEST(WaitDlgTest, CancelEndsAfterTheCurrentStepAndAFurtherMoment) {
    WaitDlg wait;
    wait.stepCount = 400;
    wait.stepLength = 100;
    wait.cancellable = true;
    QElapsedTimer sinceCancel;
    ModalWatcher watcher([&](QWidget* modal) {
        if (Bar(*modal)->value() < 1)
            return false; // cancel in the middle of the count-down
        QTest::mouseClick(CancelButton(*modal), Qt::LeftButton);
        sinceCancel.start();
        return true;
    });
    EXPECT_EQ(wait.DoModal(), nativeui::kIdCancel);
    EXPECT_GE(sinceCancel.elapsed(), WaitDlg::kCancelDelayMilliseconds);
    EXPECT_LT(sinceCancel.elapsed(), 2000) << "long before the count-down of 40 seconds";
    EXPECT_EQ(Bar(wait)->value(), 100);
}

TEST(WaitDlgTest, WithoutCancelTheDialogIsShorterAndEscapeDoesNothing) {
    WaitDlg cancellable;
    cancellable.cancellable = true;
    cancellable.stepCount = 1;
    cancellable.Prepare();
    WaitDlg plain;
    plain.stepCount = 3;
    plain.stepLength = 30;
    bool stayedOpen = false;
    ModalWatcher watcher([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        modal->close();
        stayedOpen = modal->isVisible();
        return true;
    });
    EXPECT_EQ(plain.DoModal(), nativeui::kIdOk);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(CancelButton(plain)->isHidden());
    EXPECT_EQ(plain.height(), CancelButton(plain)->geometry().top());
    EXPECT_LT(plain.height(), cancellable.height());
}
