// The desktop's side of the progress object's messages: a worker's message shows in the message box
// under the title it was given, or under the program's name.
#include "widgets/DesktopUserInterface.h"

#include "WidgetTestSupport.h"
#include "foundation/AProgress.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTest>
#include <future>
#include <gtest/gtest.h>

TEST(DesktopUserInterfaceTest, AWorkersMessageShowsUnderItsTitle) {
    DesktopUserInterface userInterface;
    AProgress::SetUserInterface(&userInterface);
    for (const QString& title : {QStringLiteral("iPod set to Automatic Update"), QString()}) {
        QString shownTitle;
        QString shownText;
        ModalWatcher watcher([&](QWidget* modal) {
            auto* box = dynamic_cast<QMessageBox*>(modal);
            if (!box)
                return false;
            shownTitle = box->windowTitle();
            shownText = box->text();
            box->accept();
            return true;
        });
        AProgress progress;
        auto shown = std::async(std::launch::async, [&] {
            return progress.Message(AString("Selected iPod is set to Automatic Update."), false,
                                    AString(title.toStdString()));
        });
        ASSERT_TRUE(SpinUntil([&] { return shown.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        EXPECT_EQ(shown.get(), 1);
        EXPECT_EQ(shownText, QStringLiteral("Selected iPod is set to Automatic Update."));
        EXPECT_EQ(shownTitle, title.isEmpty() ? QCoreApplication::applicationName() : title);
    }
    AProgress::SetUserInterface(nullptr);
}
