#include "harness/WindowUnderTest.h"

#include "platform/settings/SettingsKey.h"
#include "platform/sockets/WakeSignal.h"
#include "widgets/WidgetTestSupport.h"

#include "app/window/MainMessages.h"
#include "library/tools/LibraryTools.h"
#include "platform/ui/PrivateMessage.h"
#include "remote/HostListFile.h"

#include <QDir>
#include <filesystem>

WindowUnderTest::WindowUnderTest(const AppTestHome& home, StartupCommandLine commandLine, Options options)
    : m_home(home), m_sockets(options.localAddress) {
    m_sockets.SetScanPinger([](uint32_t, const nativesockets::WakeSignal&) { return false; });
    // As the program does at its start.
    DeviceSyncSet::RegisterRemoteList();
    LibraryTools::Install();
    MainDialogServices services;
    services.dnssdLibrary = options.dnssdLibrary;
    services.updates = options.updates;
    services.shell = options.shell;
    services.library = &m_library;
    services.sockets = &m_sockets;
    services.peers = Peers();
    services.commandLine = std::move(commandLine);
    services.programFolder = QFileInfo(QStringLiteral(ORVANTIS_HTML)).absolutePath();
    // QSettings keeps the first settings folder of the process: each test names its file.
    const QString settings = QString::fromStdString(home.SettingsFile());
    services.openSettings = [settings] { return std::make_unique<nativesettings::SettingsKey>(settings); };
    m_window = std::make_unique<CHalvendorDlg>(std::move(services));
}

WindowUnderTest::~WindowUnderTest() {
    m_window.reset();
    Drain();
}

nativeipc::PeerAddress WindowUnderTest::Peers() const {
    return nativeipc::PeerAddress(QString::fromStdString(m_home.RuntimeFolder()));
}

bool WindowUnderTest::StartAndWaitIdle(std::chrono::milliseconds limit) {
    m_window->OnInitDialog();
    return WaitIdle(limit);
}

bool WindowUnderTest::IsIdle() const {
    return !m_window->IsBusy() && !m_window->IsInitialising();
}

bool WindowUnderTest::WaitIdle(std::chrono::milliseconds limit) {
    // The busy lock is free for a moment between the session's start and the data load.
    return SpinUntil([this] { return IsIdle() && m_window->Controls().chooser.isEnabled(); }, limit);
}

QStringList WindowUnderTest::ChooserTexts() const {
    QStringList texts;
    for (const ChooserEntry& entry : m_window->Chooser().Entries())
        texts.append(entry.text);
    return texts;
}

QStringList WindowUnderTest::ComboTexts(const SeparatorComboBox& combo) const {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

void WindowUnderTest::AnnounceHost(const FoundHost& host, int number) {
    std::filesystem::create_directories(m_home.SyncSetsFolder());
    const std::vector<FoundHost> hosts = {host};
    HostListFile::Write(AString(m_home.SyncSetsFolder() + "/" + std::to_string(number) + ".hosts"), hosts);
    nativeui::PrivateMessage::Post(m_window.get(), mainmsg::kWmHostListReady, 0, number);
}
