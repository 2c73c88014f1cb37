#pragma once
// "Connect to remote iTunes": the servers the network scan finds, shown while it runs, and a host
// and port the user may type. A listed name (or the address of a listed host) chooses that host at
// once; any other host gets a hello on a worker, so the window never waits for the network, and
// joins the found hosts when it answers. The dialog ends with the host's index in the found-host
// table, or -1. Cancel ends it at once, even while a hello is on its way.

#include "remote/FoundHost.h"
#include "widgets/ExplicitEndDialog.h"

#include <QTimer>
#include <optional>
#include <string>

class CASockets;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class WorkerThread;

class CConnectDiag : public ExplicitEndDialog {
public:
    static constexpr int kNoHost = -1;
    static constexpr int kTickMs = 1000;
    static constexpr int kScanSteps = 255;
    static constexpr size_t kMaxHostBytes = 200;
    static constexpr const char* kCannotConnect =
        "Could not connect with remote host, please ensure Orvantis Server is running on the host.\r\n"
        " If the host is on the Internet please make sure your router is configured correctly.";

    // `hello` runs the hellos; it belongs to the window, so a hello may end after the dialog.
    CConnectDiag(CASockets& sockets, WorkerThread& hello, QWidget* parent = nullptr);

    // The chosen host's index in the found-host table, or kNoHost.
    int DoModal();

private:
    // What the worker made of a typed host.
    struct HelloOutcome {
        bool resolved = false;
        int knownIndex = kNoHost; // the address of a listed host
        std::optional<FoundHost> answered;
    };

    void OnInitDialog();
    void OnTimer();
    void OnRefresh();
    void OnConnect();
    void OnHelloEnded(const HelloOutcome& outcome);
    void ShowNewHosts();
    static HelloOutcome Hello(CASockets& sockets, const std::string& host, uint32_t port);

    CASockets& m_sockets;
    WorkerThread& m_hello;
    QTimer m_timer;
    int m_step = 0;
    int m_shown = 0;
    bool m_helloRunning = false;
    QLabel* m_status;
    QProgressBar* m_bar;
    QListWidget* m_hosts;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QPushButton* m_connect;
    QPushButton* m_refresh;
};
