#pragma once
// The server program's hidden frame: it owns the socket server with its announcement, the port
// forwarding and the tray icon, answers the main program's messages and runs the tray's commands. It
// lives on the user-interface thread, which never waits: listening starts and stops on the control
// thread, and so do the messages to the main program.

#include "platform/ipc/PeerLink.h"
#include "platform/ipc/PeerMessage.h"
#include "platform/volumes/MountTableWatch.h"
#include "server/bonjour/AnnouncedListening.h"
#include "server/bonjour/BonjourAnnouncement.h"
#include "server/program/ControlThread.h"
#include "server/program/HelperSettings.h"
#include "server/program/VolumeArrivals.h"
#include "server/router/CPortForwardEngine.h"
#include "server/router/PortForwardChain.h"
#include "server/router/PortForwardEvents.h"
#include "server/router/RouterTestReport.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class HelperSocketServer;
class QSocketNotifier;
class QSystemTrayIcon;

namespace nativeshell {
class Shell;
}

class CMainFrame : public QObject, private PortForwardListener, private RouterTestReport {
public:
    static constexpr int kAddressWatchMs = 60000;
    static constexpr int kMappingRedoCycles = 60;
    static constexpr int kReloadPauseMs = 500;
    static constexpr int kVolumeWatchMs = 2000;

    struct Setup {
        nativeipc::PeerAddress peers = nativeipc::PeerAddress::ForCurrentUser();
        nativeshell::Shell* shell = nullptr;
        // The main program's file.
        QString mainProgram;
        std::function<HelperSettings()> loadSettings;
        // This computer's address as it is now; null: the first one that is up.
        std::function<std::optional<uint32_t>()> localIPv4;
        // The router of a description address (empty: the first that answers); null: through miniupnpc.
        std::function<std::unique_ptr<nativeupnp::InternetGateway>(const std::string& descriptionUrl)>
            findGateway;
        // The calendar day; null: the local date.
        std::function<QDate()> today;
        // "Exit" while listening: true to exit.
        std::function<bool()> confirmExit;
        // The DNS-SD library file.
        std::string dnsSdLibrary = nativednssd::DnsSdLibrary::kDefaultFile;
        bool showTrayIcon = true;
        // The interval of the look at the volume table when no change of the mount table wakes it.
        int volumeWatchMs = kVolumeWatchMs;
    };

    explicit CMainFrame(Setup setup);
    ~CMainFrame() override;

    // Reads the settings, starts listening when the server is on, and the port mapping with it.
    void Start();
    // A message of the main program (or of a second start): the answer of a send.
    int64_t OnMessage(const nativeipc::PeerMessage& message);
    void OnTrayCommand(int id);
    // A look at the volume table: a removable volume that arrived while the main program is not running
    // is prepared when it is an iPod, and starts the main program when it manages iPods.
    void WatchVolumes();
    // A look at this computer's address (every kAddressWatchMs): after a change listening moves to the
    // new address, and the port mapping is redone then and about once an hour while the server listens.
    void WatchAddress();
    // Waits until the control thread has done what it was given (tests).
    void WaitForControl() { m_control.Drain(); }

    bool IsListening() const;
    const HelperSettings& Settings() const { return m_settings; }
    const RouterState& Router() const { return m_chain->State(); }
    QSystemTrayIcon* TrayIcon() const { return m_tray.get(); }
    HelperSocketServer& Server() const { return *m_server; }

private:
    void OnPortForwardEvent(int code, int64_t value) override;
    void RouterTestFailed(int64_t wParam, int64_t lParam) override;
    void RouterTestDone() override;

    void StartListening();
    // The tray's "Start Server" or "Stop Server" has been carried out.
    void OnListeningSwitched(bool listening);
    void LoadSettings();
    void ReloadSettings();
    void OnSessionStarting();
    CPortForwardEngine::GatewayFinder GatewayFinderFor(const std::string& descriptionUrl) const;
    int64_t Today() const;
    std::optional<uint32_t> CurrentAddress() const;
    void MoveListening(std::optional<uint32_t> address);
    void WatchMountTable();
    void WriteHostList(int64_t t);
    void WriteRouterStatus();
    void OnHostJoined();
    void PostToMain(uint32_t number, int64_t wParam, int64_t lParam);
    void ShowMainProgram(bool about);
    void Exit();
    void StartPortMapping();
    std::string LocalIPv4Text() const;
    void ShowTrayMenu();
    void OnVolumesArrived(const std::vector<ArrivedVolume>& arrived, const HelperSettings& settings);
    void LaunchMainProgram(const QStringList& arguments);

    Setup m_setup;
    HelperSettings m_settings;
    // The calendar day (Julian) the settings were last read on; sessions start on other threads.
    std::atomic<int64_t> m_settingsDay{0};
    nativeipc::PeerLink m_peers;
    std::unique_ptr<HelperSocketServer> m_server;
    BonjourAnnouncement m_announcement;
    AnnouncedListening m_listening;
    std::unique_ptr<CPortForwardEngine> m_engine;
    std::unique_ptr<PortForwardChain> m_chain;
    std::optional<uint32_t> m_lastAddress;
    int m_watchCycles = 0;
    QTimer m_addressWatch;
    QTimer m_volumeWatch;
    nativevolumes::MountTableWatch m_mountTable;
    std::unique_ptr<QSocketNotifier> m_mountTableChanged;
    VolumeArrivals m_arrivals; // on the control thread
    std::unique_ptr<QSystemTrayIcon> m_tray;
    // Last, so that it has ended before what its steps touch goes.
    ControlThread m_control;
};
