// The connect dialog against real server programs' listening sides on loopback: a typed host and
// port get a hello on a worker, a listed name or address is chosen without one, and a host that does
// not answer, or that is this computer itself, keeps the dialog open with the failure message.

#include "LoopbackServers.h"

#include "app/network/CConnectDiag.h"
#include "app/window/WorkerThread.h"
#include "remote/CASockets.h"
#include "widgets/WidgetTestSupport.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOwnAddress = 0x7F000001;

// A server program's listening side on the address, at a free base port.
std::unique_ptr<ASyncWSocksServer> Server(uint32_t address) {
    LoopbackServers servers({address});
    return servers.AllListening() ? std::move(servers.listening.front()) : nullptr;
}

class ConnectDialogTest : public testing::Test {
protected:
    ConnectDialogTest() : sockets(kOwnAddress) {
        sockets.SetScanPinger([](uint32_t, const nativesockets::WakeSignal&) { return false; });
    }
    ~ConnectDialogTest() override {
        // A hello still on its way ends with the socket client's stop.
        sockets.StopScan();
        hello.WaitInEventLoop(std::chrono::seconds(5));
    }

    // Runs the dialog: types the host and port and clicks Connect; after a message box (whose text is
    // kept) clicks Cancel when asked to.
    int Run(const QString& host, const QString& port, bool cancelAfterMessage = true) {
        bool typed = false;
        ModalWatcher watcher([&](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                boxes.append(box->text());
                box->done(QMessageBox::Ok);
            } else if (auto* dialog = dynamic_cast<CConnectDiag*>(modal)) {
                if (!typed) {
                    typed = true;
                    dialog->findChild<QLineEdit*>("ctl_1030")->setText(host);
                    dialog->findChild<QLineEdit*>("ctl_1036")->setText(port);
                    dialog->findChild<QPushButton*>("ctl_1")->click();
                } else if (cancelAfterMessage && !boxes.isEmpty()) {
                    dialog->findChild<QPushButton*>("ctl_2")->click();
                }
            }
            return false;
        });
        CConnectDiag dialog(sockets, hello);
        return dialog.DoModal();
    }

    CASockets sockets;
    WorkerThread hello;
    QStringList boxes;
};

TEST_F(ConnectDialogTest, ATypedHostThatAnswersJoinsWithTheTypedPort) {
    const auto server = Server(0x7F000002);
    ASSERT_TRUE(server);
    const int index = Run("127.0.0.2", QString::number(server->GetBasePort()));
    ASSERT_EQ(index, 0);
    EXPECT_TRUE(boxes.isEmpty());
    ASSERT_EQ(sockets.FoundHosts().Count(), 1);
    EXPECT_EQ(sockets.FoundHosts().GetAddress(0), "127.0.0.2");
    EXPECT_EQ(sockets.FoundHosts().FindPort("127.0.0.2"), server->GetBasePort());
}

TEST_F(ConnectDialogTest, AListedNameOrAddressIsChosenWithoutAHello) {
    sockets.AddFoundHost({"studio", "127.0.0.5", 0});
    sockets.AddFoundHost({"laptop", "127.0.0.6", 0});
    EXPECT_EQ(Run("laptop", ""), 1);
    EXPECT_EQ(Run("127.0.0.5", "1"), 0);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(ConnectDialogTest, NoAnswerOrThisComputerItselfKeepsTheDialogOpenWithTheMessage) {
    const auto own = Server(kOwnAddress);
    ASSERT_TRUE(own);
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress(QStringLiteral("127.0.0.6")), 0));
    const quint16 nobody = closed.serverPort();
    closed.close();
    for (const auto& [host, port] : {std::pair{QString("127.0.0.1"), QString::number(own->GetBasePort())},
                                     std::pair{QString("127.0.0.6"), QString::number(nobody)}}) {
        boxes.clear();
        EXPECT_EQ(Run(host, port), CConnectDiag::kNoHost) << host.toStdString();
        EXPECT_EQ(boxes, QStringList{QLatin1String(CConnectDiag::kCannotConnect)}) << host.toStdString();
    }
    EXPECT_EQ(sockets.FoundHosts().Count(), 0);
}

TEST_F(ConnectDialogTest, TheWindowKeepsWorkingDuringAHelloAndCancelEndsAtOnce) {
    // Takes the connection and never answers the hello.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress(QStringLiteral("127.0.0.4")), 0));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QElapsedTimer cancelled;
    bool typed = false;
    ModalWatcher watcher([&](QWidget* modal) {
        auto* dialog = dynamic_cast<CConnectDiag*>(modal);
        if (!dialog)
            return false;
        if (!typed) {
            typed = true;
            dialog->findChild<QLineEdit*>("ctl_1030")->setText("127.0.0.4");
            dialog->findChild<QLineEdit*>("ctl_1036")->setText(QString::number(silent.serverPort()));
            dialog->findChild<QPushButton*>("ctl_1")->click();
        } else if (ticks > 30 && !cancelled.isValid()) {
            EXPECT_FALSE(dialog->findChild<QPushButton*>("ctl_1")->isEnabled());
            cancelled.start();
            dialog->findChild<QPushButton*>("ctl_2")->click();
        }
        return false;
    });
    CConnectDiag dialog(sockets, hello);
    EXPECT_EQ(dialog.DoModal(), CConnectDiag::kNoHost);
    EXPECT_LT(cancelled.elapsed(), 500);
    EXPECT_TRUE(hello.IsWorking());
}

} // namespace
