#include "app/window/CConnectDiag.h"
#include "app/window/MainSockets.h"
#include "platform/sockets/WakeSignal.h"
#include "widgets/WidgetTestSupport.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOwnAddress = 0x7F000001; // 127.0.0.1

class ConnectDialogTest : public testing::Test {
protected:
    ConnectDialogTest() {
        // The scan finds nobody: the tests fill the table themselves.
        sockets.SetScanPinger([](uint32_t, const nativesockets::WakeSignal&) { return false; });
        sockets.AddFoundHost({"Study", "127.0.0.5", 0});
        sockets.AddFoundHost({"Attic", "127.0.0.6", 0});
    }
    ~ConnectDialogTest() override { sockets.StopScan(); }

    // Types the host and port and presses Connect once the dialog shows; message boxes are answered and
    // kept; `afterwards` runs once the first message box was answered.
    int Run(const QString& host, const QString& port, std::function<void(CConnectDiag&)> afterwards = nullptr) {
        CConnectDiag dialog(sockets);
        ModalWatcher watcher([&](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                messages.append(box->text());
                box->accept();
                if (afterwards)
                    QTimer::singleShot(0, &dialog, [&dialog, afterwards] { afterwards(dialog); });
                return false;
            }
            return false;
        });
        QTimer::singleShot(0, &dialog, [&dialog, host, port] {
            dialog.findChild<QLineEdit*>("ctl_1030")->setText(host);
            dialog.findChild<QLineEdit*>("ctl_1036")->setText(port);
            QTest::mouseClick(dialog.findChild<QPushButton*>("ctl_1"), Qt::LeftButton);
        });
        return dialog.DoModal();
    }

    MainSockets sockets{kOwnAddress};
    QStringList messages;
};

// A listed name, or the address of a listed host, is chosen without greeting anyone.
TEST_F(ConnectDialogTest, AListedHostIsChosenByNameOrAddress) {
    EXPECT_EQ(Run(QStringLiteral("Attic"), QString()), 1);
    EXPECT_EQ(Run(QStringLiteral("127.0.0.5"), QString()), 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(sockets.FoundHosts().Count(), 2);
}

TEST_F(ConnectDialogTest, AHostThatDoesNotAnswerKeepsTheDialogOpen) {
    bool stillOpen = false;
    const int result = Run(QStringLiteral("127.0.0.9"), QStringLiteral("9"), [&](CConnectDiag& dialog) {
        stillOpen = dialog.isVisible();
        QTest::mouseClick(dialog.findChild<QPushButton*>("ctl_2"), Qt::LeftButton);
    });
    EXPECT_EQ(result, CConnectDiag::kNoHost);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(messages, QStringList({QLatin1String(CConnectDiag::kCannotConnect)}));
    EXPECT_EQ(sockets.FoundHosts().Count(), 2);
}

} // namespace
