#include "widgets/AAlert.h"

#include "WidgetTestSupport.h"
#include "foundation/AProgress.h"
#include "widgets/ControlId.h"
#include "widgets/DesktopUserInterface.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <future>
#include <gtest/gtest.h>

namespace {

QPushButton* Button(const QWidget& alert, int index) {
    return alert.findChild<QPushButton*>(ControlName(AAlert::kFirstButtonId + index));
}

QLabel* Static(const QWidget& alert, int id) {
    return alert.findChild<QLabel*>(ControlName(id));
}

int TextWidth(const QWidget& widget, const QString& text) {
    return QFontMetrics(widget.font()).horizontalAdvance(text);
}

std::vector<int> ShownButtons(const QWidget& alert) {
    std::vector<int> shown;
    for (int i = 0; i < AAlert::kButtonCount; ++i) {
        if (!Button(alert, i)->isHidden())
            shown.push_back(i);
    }
    return shown;
}

void ExpectCentredRow(const QWidget& alert, int count) {
    const QRect first = Button(alert, 0)->geometry();
    const QRect last = Button(alert, count - 1)->geometry();
    EXPECT_EQ(first.left(), alert.width() - (last.left() + last.width()));
    for (int i = 1; i < count; ++i)
        EXPECT_EQ(Button(alert, i)->geometry().left(), Button(alert, i - 1)->geometry().right() + 1 + 10);
}

} // namespace

TEST(AAlertTest, TwoShortCaptionsGiveTwoCentredButtonsOfAtLeastEightyPixels) {
    AAlert alert;
    alert.SetMessage(QStringLiteral("Delete?"));
    alert.SetButton1(QStringLiteral("Yes"));
    alert.SetButton2(QStringLiteral("No"));
    const int templateWidth = alert.width();
    alert.Prepare();
    EXPECT_EQ(ShownButtons(alert), (std::vector<int>{0, 1}));
    EXPECT_EQ(Button(alert, 0)->width(), 80);
    EXPECT_EQ(Button(alert, 1)->width(), 80);
    ExpectCentredRow(alert, 2);
    EXPECT_EQ(alert.width(), templateWidth) << "the alert never narrows";
    EXPECT_EQ(alert.height(), Button(alert, 0)->geometry().bottom() + 1 + 9);
}

TEST(AAlertTest, ButtonsTakeTheirTextWidthAndWidenTheAlert) {
    const QString wide = QStringLiteral("Replace every file of the album");
    AAlert alert;
    alert.SetButton1(QStringLiteral("Yes"));
    alert.SetButton2(wide);
    alert.SetButton3(QStringLiteral("Yes to All"));
    alert.SetButton4(QStringLiteral("No to All"));
    const int templateWidth = alert.width();
    alert.Prepare();
    const int wideWidth = TextWidth(*Button(alert, 1), wide) + 20;
    EXPECT_EQ(Button(alert, 1)->width(), wideWidth);
    int required = 50;
    for (int i = 0; i < 4; ++i)
        required += Button(alert, i)->width();
    ASSERT_GT(required, templateWidth);
    EXPECT_EQ(alert.width(), required);
    EXPECT_EQ(ShownButtons(alert), (std::vector<int>{0, 1, 2, 3}));
    ExpectCentredRow(alert, 4);
}

TEST(AAlertTest, EmptyDescriptionsLeaveNoGap) {
    AAlert alert;
    alert.SetMessage(QStringLiteral("Copy this file?"));
    alert.SetDescription1(QStringLiteral("Copy"));
    alert.SetDescription3(QStringLiteral("to"));
    alert.SetButton1(QStringLiteral("Yes"));
    alert.Prepare();
    QLabel* first = Static(alert, 10007);
    QLabel* second = Static(alert, 10008);
    QLabel* third = Static(alert, 10009);
    EXPECT_TRUE(second->isHidden());
    EXPECT_TRUE(Static(alert, 10010)->isHidden());
    EXPECT_EQ(third->geometry().top(), first->geometry().bottom() + 1 + 5);
    EXPECT_EQ(first->geometry().top(), Static(alert, 10006)->geometry().bottom() + 1 + 5);
    EXPECT_EQ(Button(alert, 0)->geometry().top(), third->geometry().bottom() + 1 + 20);
}

TEST(AAlertTest, AMessageLineWiderThanItsStaticTakesALineHeightPerStartedWidth) {
    AAlert alert;
    const QString line = QStringLiteral("A message line that is certainly wider than the alert");
    alert.SetMessage(line + QStringLiteral("\r\n") + line);
    alert.Prepare();
    QLabel* message = Static(alert, 10006);
    const QFontMetrics metrics(message->font());
    ASSERT_GT(metrics.horizontalAdvance(line), message->width());
    ASSERT_LE(metrics.horizontalAdvance(line), 2 * message->width());
    EXPECT_EQ(message->height(), 4 * metrics.height());
}

TEST(AAlertTest, EscapeAndTheCloseBoxLeaveTheAlertOpen) {
    AAlert alert;
    alert.SetButton1(QStringLiteral("Yes"));
    alert.SetButton2(QStringLiteral("No"));
    bool stayedOpen = false;
    ModalWatcher watcher([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        QTest::keyClick(modal, Qt::Key_Return);
        modal->close();
        stayedOpen = modal->isVisible();
        QTest::mouseClick(Button(*modal, 1), Qt::LeftButton);
        return true;
    });
    EXPECT_EQ(alert.DoModal(), 1);
    EXPECT_TRUE(stayedOpen);
}

TEST(AAlertTest, AQuestionFromAWorkerIsAnsweredByEachButtonWhileGuiTimersRun) {
    struct Case {
        int button;
        int answer;
    };
    const Case cases[] = {{0, AProgress::kAnswerYes},
                          {1, AProgress::kAnswerNo},
                          {2, AProgress::kAnswerYesToAll},
                          {3, AProgress::kAnswerNoToAll}};
    DesktopUserInterface userInterface;
    AProgress::SetUserInterface(&userInterface);
    for (const Case& c : cases) {
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(5);
        std::vector<QString> captions;
        int ticksWhenAnswered = -1;
        ModalWatcher watcher([&](QWidget* modal) {
            if (ticks < 3)
                return false; // let the timer show that it keeps running
            for (int i : ShownButtons(*modal))
                captions.push_back(Button(*modal, i)->text());
            ticksWhenAnswered = ticks;
            QTest::mouseClick(Button(*modal, c.button), Qt::LeftButton);
            return true;
        });
        const AString source("/music/a.mp3");
        const AString target("/media/ipod/a.mp3");
        auto answer = std::async(std::launch::async, [&] {
            return AProgress::AskYesNoAll(AString("Replace?"), &source, &target);
        });
        ASSERT_TRUE(
            SpinUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        EXPECT_EQ(answer.get(), c.answer);
        EXPECT_EQ(captions, (std::vector<QString>{"Yes", "No", "Yes to All", "No to All"}));
        EXPECT_GE(ticksWhenAnswered, 3);
    }
    AProgress::SetUserInterface(nullptr);
}
