#pragma once
// "Connect to remote iTunes": the servers found on the network while a scan runs, and a host and port
// to type. It ends with the chosen host's index in the found-host table, or -1. A typed host that is
// not listed is resolved and greeted on a worker, so the window never waits on the network.

#include "app/window/WorkerThread.h"
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

class CConnectDiag : public ExplicitEndDialog {
public:
    static constexpr int kNoHost = -1;
    static constexpr int kTickMs = 1000;
    static constexpr int kScanSteps = 255;
    static constexpr size_t kHostChars = 200;
    static constexpr const char* kCannotConnect =
        "Could not connect with remote host, please ensure Orvantis Server is running on the host.\r\n If the "
        "host is on the Internet please make sure your router is configured correctly.";
    enum Control { kRefreshId = 1029, kHostId = 1030, kStatusId = 1051, kProgressId = 1019, kListId = 1035,
                   kPortId = 1036 };

    CConnectDiag(CASockets& sockets, QWidget* parent = nullptr);
    ~CConnectDiag() override;

    int DoModal();

private:
    // What a greeting on the worker found: the host's index when it is listed already, or the record
    // of a host that answered.
    struct Greeting {
        int listed = kNoHost;
        std::optional<FoundHost> answered;
        bool resolved = false;
    };

    void Tick();
    void ShowNewHosts();
    void Refresh();
    void Connect();
    Greeting Greet(const std::string& host, uint32_t port) const;
    void OnGreeted(const Greeting& greeting);
    int ListedName(const std::string& name) const;

    CASockets& m_sockets;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QListWidget* m_list;
    QLabel* m_status;
    QProgressBar* m_bar;
    QPushButton* m_connect;
    QTimer m_timer;
    int m_step = 0;
    int m_shown = 0;
    WorkerThread m_greeter;
};
