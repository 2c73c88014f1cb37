#include "server/program/CMainFrame.h"

#include "library/ipod/IPodPrefs.h"
#include "platform/shell/Shell.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/upnp/MiniupnpcGateway.h"
#include "platform/volumes/VolumeTable.h"
#include "server/files/MainProgramFiles.h"
#include "server/program/HelperSocketServer.h"
#include "server/program/HelperTrayMenu.h"

#include <QCoreApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QSocketNotifier>
#include <QSystemTrayIcon>

#include <chrono>
#include <thread>

using namespace nativeipc;

namespace {

constexpr int64_t kAboutCommand = 11000;

// The number a host list is named by, as a tick count of the system.
int64_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() & 0x7FFFFFFF);
}

// A small picture of our own: two arrows going round, the sign of a sync.
QIcon TrayIconPicture() {
    constexpr int kSize = 16;
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x2a, 0x6f, 0xc9), 2));
    painter.drawArc(QRectF(2, 2, 12, 12), 30 * 16, 150 * 16);
    painter.drawArc(QRectF(2, 2, 12, 12), 210 * 16, 150 * 16);
    painter.setBrush(QColor(0x2a, 0x6f, 0xc9));
    painter.drawPolygon(QPolygonF({QPointF(1, 5), QPointF(5, 5), QPointF(3, 9)}));
    painter.drawPolygon(QPolygonF({QPointF(15, 11), QPointF(11, 11), QPointF(13, 7)}));
    return QIcon(picture);
}

} // namespace

CMainFrame::CMainFrame(Setup setup)
    : m_setup(std::move(setup)), m_peers(m_setup.peers),
      m_server(std::make_unique<HelperSocketServer>(
          CurrentAddress(), [this] { OnHostJoined(); }, [this] { OnSessionStarting(); })),
      m_announcement(m_setup.dnsSdLibrary), m_listening(*m_server, m_announcement),
      m_chain(std::make_unique<PortForwardChain>(nullptr, static_cast<RouterTestReport&>(*this))) {
    if (!m_setup.findGateway)
        m_setup.findGateway = nativeupnp::MiniupnpcGateway::Find;
    m_addressWatch.setInterval(kAddressWatchMs);
    connect(&m_addressWatch, &QTimer::timeout, this, [this] { WatchAddress(); });
    m_volumeWatch.setInterval(m_setup.volumeWatchMs);
    connect(&m_volumeWatch, &QTimer::timeout, this, [this] { WatchVolumes(); });
}

// Listening ends, and the engine's threads, before the parts they report to go.
CMainFrame::~CMainFrame() {
    m_control.Drain();
    m_listening.Stop();
    m_engine.reset();
}

void CMainFrame::Start() {
    LoadSettings();
    m_lastAddress = m_server->GetLocalIPv4();
    if (m_setup.showTrayIcon && QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray = std::make_unique<QSystemTrayIcon>(TrayIconPicture());
        m_tray->setToolTip(HelperTrayMenu::Tip());
        connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
                ShowTrayMenu();
        });
        m_tray->show();
    }
    if (m_settings.startServer)
        StartListening();
    m_engine = std::make_unique<CPortForwardEngine>(GatewayFinderFor(m_settings.gatewayDescription),
                                                    static_cast<PortForwardListener&>(*this));
    m_chain = std::make_unique<PortForwardChain>(m_engine.get(), static_cast<RouterTestReport&>(*this));
    m_chain->ApplySettings(m_settings.portForwarding, m_settings.startServer, m_settings.serverPort);
    if (m_settings.portForwarding && m_settings.startServer)
        StartPortMapping();
    m_addressWatch.start();
    WatchVolumes();
    m_volumeWatch.start();
    WatchMountTable();
}

bool CMainFrame::IsListening() const {
    return m_listening.IsListening();
}

void CMainFrame::StartListening() {
    const uint16_t port = m_settings.serverPort;
    m_control.Run([this, port] { m_listening.Start(port); });
}

int64_t CMainFrame::OnMessage(const PeerMessage& message) {
    switch (message.number) {
    case peermessage::kHelperReloadSettings:
        ReloadSettings();
        return 0;
    case peermessage::kHostListReady:
        WriteHostList(message.lParam);
        return 0;
    case peermessage::kHelperWriteRouterStatus:
        WriteRouterStatus();
        return 0;
    case peermessage::kHelperTestRouter:
        m_chain->TestRouter(LocalIPv4Text(), m_settings.serverPort);
        return 0;
    case peermessage::kHelperQuit:
        m_tray.reset();
        QCoreApplication::quit();
        return 0;
    default:
        return 0;
    }
}

// Each reading of the settings takes the values, the day they were read on and the router they name,
// which the next gateway search asks.
void CMainFrame::LoadSettings() {
    m_settings = m_setup.loadSettings();
    m_settingsDay = Today();
    if (m_engine)
        m_engine->SetGatewayFinder(GatewayFinderFor(m_settings.gatewayDescription));
}

CPortForwardEngine::GatewayFinder CMainFrame::GatewayFinderFor(const std::string& descriptionUrl) const {
    return [find = m_setup.findGateway, descriptionUrl] { return find(descriptionUrl); };
}

int64_t CMainFrame::Today() const {
    return (m_setup.today ? m_setup.today() : QDate::currentDate()).toJulianDay();
}

// Listening follows the new settings, and the next watch cycle redoes the port mapping.
void CMainFrame::ReloadSettings() {
    LoadSettings();
    const HelperSettings settings = m_settings;
    m_control.Run([this, settings] {
        m_listening.Stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(kReloadPauseMs));
        if (settings.startServer)
            m_listening.Start(settings.serverPort);
    });
    m_chain->ApplySettings(m_settings.portForwarding, m_settings.startServer, m_settings.serverPort);
    m_watchCycles = kMappingRedoCycles;
}

void CMainFrame::WriteHostList(int64_t t) {
    if (const std::optional<MainProgramFiles> files = MainProgramFiles::InSyncSetsFolder())
        files->WriteHostList(m_server->FoundHosts(), t);
}

void CMainFrame::WriteRouterStatus() {
    if (const std::optional<MainProgramFiles> files = MainProgramFiles::InSyncSetsFolder())
        files->WriteRouterStatus(m_chain->State());
}

// On the connection's thread: the first session of a calendar day has the settings read again, the
// values only. Restarting listening from here would wait for this very connection, and the values
// belong to the user-interface thread, so they are read there.
void CMainFrame::OnSessionStarting() {
    int64_t loaded = m_settingsDay;
    const int64_t today = Today();
    if (today == loaded || !m_settingsDay.compare_exchange_strong(loaded, today))
        return;
    QMetaObject::invokeMethod(this, [this] { LoadSettings(); }, Qt::QueuedConnection);
}

// On the connection's thread: the main program hears of the host that joined, when it runs.
void CMainFrame::OnHostJoined() {
    if (!m_peers.IsRunning(PeerProgram::Main))
        return;
    const std::optional<MainProgramFiles> files = MainProgramFiles::InSyncSetsFolder();
    const int64_t t = TickCount();
    if (files && files->WriteJoinedHost(m_server->FoundHosts(), t))
        m_peers.Post(PeerProgram::Main, {peermessage::kHostListReady, 0, t, {}});
}

void CMainFrame::PostToMain(uint32_t number, int64_t wParam, int64_t lParam) {
    m_control.Run([this, number, wParam, lParam] { m_peers.Post(PeerProgram::Main, {number, wParam, lParam, {}}); });
}

void CMainFrame::OnPortForwardEvent(int code, int64_t value) {
    QMetaObject::invokeMethod(this, [this, code, value] { m_chain->HandleEvent(code, value); }, Qt::QueuedConnection);
}

void CMainFrame::RouterTestFailed(int64_t wParam, int64_t lParam) {
    PostToMain(peermessage::kRouterTestFailed, wParam, lParam);
}

void CMainFrame::RouterTestDone() {
    PostToMain(peermessage::kRouterTestDone, 1, 1);
}

void CMainFrame::OnTrayCommand(int id) {
    switch (id) {
    case HelperTrayMenu::kAbout:
        ShowMainProgram(true);
        break;
    case HelperTrayMenu::kShowMain:
        ShowMainProgram(false);
        break;
    case HelperTrayMenu::kStartStopServer: {
        const uint16_t port = m_settings.serverPort;
        m_control.Run([this, port] {
            m_listening.Toggle(port);
            const bool listening = m_listening.IsListening();
            QMetaObject::invokeMethod(this, [this, listening] { OnListeningSwitched(listening); },
                                      Qt::QueuedConnection);
        });
        break;
    }
    case HelperTrayMenu::kExit:
        Exit();
        break;
    default:
        break;
    }
}

// The port mapping this program added goes with the server, and is made again when it comes back.
void CMainFrame::OnListeningSwitched(bool listening) {
    m_chain->ApplySettings(m_settings.portForwarding, listening, m_settings.serverPort);
    if (listening && m_settings.portForwarding)
        StartPortMapping();
}

void CMainFrame::ShowMainProgram(bool about) {
    if (m_peers.IsRunning(PeerProgram::Main)) {
        PostToMain(peermessage::kShowWindow, peermessage::kRestore, 0);
        if (about)
            PostToMain(peermessage::kCommand, kAboutCommand, 0);
        return;
    }
    LaunchMainProgram(about ? QStringList{QStringLiteral("__d")} : QStringList());
}

void CMainFrame::LaunchMainProgram(const QStringList& arguments) {
    if (m_setup.shell)
        m_setup.shell->StartProgram(m_setup.mainProgram, arguments);
}

// The kernel tells of every mount and unmount, so an arrival is seen at once; the timer still looks
// for the folders of ORVANTIS_EXTRA_VOLUMES, which appear without one.
void CMainFrame::WatchMountTable() {
    if (m_mountTable.Descriptor() < 0)
        return;
    m_mountTableChanged =
        std::make_unique<QSocketNotifier>(m_mountTable.Descriptor(), QSocketNotifier::Exception);
    connect(m_mountTableChanged.get(), &QSocketNotifier::activated, this, [this] { WatchVolumes(); });
}

void CMainFrame::WatchVolumes() {
    const HelperSettings settings = m_settings;
    m_control.Run([this, settings] {
        const std::vector<ArrivedVolume> arrived = m_arrivals.Look(nativevolumes::VolumeTable::Instance().List());
        if (!arrived.empty())
            OnVolumesArrived(arrived, settings);
    });
}

// On the control thread; the main program, once it runs, looks after the volumes itself.
void CMainFrame::OnVolumesArrived(const std::vector<ArrivedVolume>& arrived, const HelperSettings& settings) {
    if (m_peers.IsRunning(PeerProgram::Main))
        return;
    uint32_t mask = 0;
    for (const ArrivedVolume& volume : arrived) {
        IPodPrefs::PrepareForSync(AString::FromSystem8Bit(volume.root), settings.manageIPods, settings.manageShuffles);
        mask |= volume.driveBit;
    }
    if (!settings.manageIPods && !settings.manageShuffles)
        return;
    const QStringList arguments{QStringLiteral("-ar"), QString::number(mask)};
    QMetaObject::invokeMethod(this, [this, arguments] { LaunchMainProgram(arguments); }, Qt::QueuedConnection);
}

void CMainFrame::Exit() {
    if (IsListening() && m_setup.confirmExit && !m_setup.confirmExit())
        return;
    m_tray.reset();
    QCoreApplication::quit();
}

void CMainFrame::StartPortMapping() {
    m_chain->ClearAttempts();
    m_chain->StartPortMapping(LocalIPv4Text(), m_settings.serverPort);
}

std::string CMainFrame::LocalIPv4Text() const {
    return m_lastAddress ? nativesockets::FormatIPv4(*m_lastAddress) : std::string();
}

std::optional<uint32_t> CMainFrame::CurrentAddress() const {
    return m_setup.localIPv4 ? m_setup.localIPv4() : nativesockets::GetLocalIPv4();
}

void CMainFrame::WatchAddress() {
    const std::optional<uint32_t> address = CurrentAddress();
    const bool changed = address != m_lastAddress;
    m_lastAddress = address;
    if (changed)
        MoveListening(address);
    if (++m_watchCycles > kMappingRedoCycles)
        m_watchCycles = 0;
    else if (!changed)
        return;
    if (m_settings.portForwarding && IsListening())
        StartPortMapping();
}

// On the control thread, after what was handed over before: the server binds the new address at its
// next start, and listening that runs starts again on its port (a program that started without an
// address begins to listen here).
void CMainFrame::MoveListening(std::optional<uint32_t> address) {
    m_control.Run([this, address] {
        const bool listening = m_listening.IsListening();
        if (listening)
            m_listening.Stop();
        m_server->SetLocalIPv4(address);
        if (listening)
            m_listening.Start(m_server->GetBasePort());
    });
}

void CMainFrame::ShowTrayMenu() {
    QMenu menu;
    for (const HelperTrayItem& item : HelperTrayMenu::Items(IsListening())) {
        QAction* action = menu.addAction(item.text);
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { OnTrayCommand(id); });
    }
    menu.exec(QCursor::pos());
}
