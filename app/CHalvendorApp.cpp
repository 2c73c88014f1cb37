#include "app/CHalvendorApp.h"

#include "app/devices/DeviceSyncSet.h"
#include "app/devices/ITunesLibraryClient.h"
#include "app/network/UpdateChecker.h"
#include "app/state/AppFolders.h"
#include "app/state/SingleInstance.h"
#include "app/state/StartupCommandLine.h"
#include "app/window/CHalvendorDlg.h"
#include "app/window/MainMessages.h"
#include "app/window/MainSockets.h"
#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/itunes/ITunesServices.h"
#include "library/tools/LibraryTools.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/settings/SettingsKey.h"
#include "platform/shell/DesktopShell.h"
#include "platform/ui/PrivateMessage.h"
#include "widgets/QtText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <atomic>

namespace peermessage = nativeipc::peermessage;
using nativeui::PrivateMessage;

int64_t CHalvendorApp::HandlePeerMessage(CHalvendorDlg& window, const nativeipc::PeerMessage& message) {
    switch (message.number) {
    case peermessage::kShowWindow:
        window.showNormal();
        window.raise();
        window.activateWindow();
        return 1;
    case peermessage::kStartupConfig:
    case peermessage::kRouterTestFailed:
    case peermessage::kRouterTestDone:
    case peermessage::kHostListReady:
    case peermessage::kCommand:
        PrivateMessage::Post(&window, message.number, static_cast<intptr_t>(message.wParam),
                             static_cast<intptr_t>(message.lParam));
        return 1;
    default:
        return 0;
    }
}

CHalvendorApp::CHalvendorApp(QStringList arguments, nativeipc::PeerAddress peers)
    : m_arguments(std::move(arguments)), m_peers(std::move(peers)) {}

bool CHalvendorApp::RecordStartupConfig(const QString& path) {
    AString file;
    if (!AppFolders::DataFile(AppFolders::kStartupFileName, file))
        return false;
    nativeini::PrivateProfile startup(file.ToSystem8Bit());
    return startup.WriteString("Startup", "file", PathToAString(path).ToSystem8Bit());
}

int CHalvendorApp::Run() {
    const StartupCommandLine commandLine = StartupCommandLine::Parse(m_arguments);
    const bool startupConfig = commandLine.routerConfig && RecordStartupConfig(*commandLine.routerConfig);

    SingleInstance instance(m_peers);
    if (instance.Claim() == SingleInstance::Start::Second) {
        instance.HandOverToRunning(commandLine.routerConfig.has_value());
        return 0;
    }

    InstallITunesServices(ITunesDBPodDatabase::Opener());
    LibraryTools::Install();
    DeviceSyncSet::RegisterRemoteList();
    ITunesLibraryClient library;
    MainSockets sockets;
    MainDialogServices services;
    services.library = &library;
    services.sockets = &sockets;
    services.peers = m_peers;
    services.commandLine = commandLine;
    services.startupConfigGiven = startupConfig;
    services.programFolder = QFileInfo(m_arguments.value(0)).absolutePath();
    nativeshell::DesktopShell shell;
    services.shell = &shell;
    // The update check tells the window through its messages; the window is made after it.
    std::atomic<QObject*> updateTarget{nullptr};
    UpdateChecker::Operations updateOperations;
    updateOperations.newVersionFound = [&updateTarget] {
        if (QObject* window = updateTarget.load())
            PrivateMessage::Post(window, nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdCheckForUpdates, 0));
    };
    updateOperations.closeProgram = [&updateTarget] {
        if (QObject* window = updateTarget.load())
            PrivateMessage::Post(window, mainmsg::kWmClose);
    };
    updateOperations.shell = &shell;
    const QString updateAddress = nativesettings::SettingsKey()
                                      .ReadString(QLatin1String(UpdateChecker::kAddressSetting))
                                      .value_or(QLatin1String(UpdateChecker::kDefaultAddress));
    UpdateChecker updates(updateAddress, UpdateChecker::PrivateFolder(), UpdateChecker::kOwnVersion,
                          std::move(updateOperations));
    services.updates = &updates;
    CHalvendorDlg window(std::move(services));
    updateTarget = &window;
    instance.Endpoint().SetHandler(
        [&window](const nativeipc::PeerMessage& message) { return HandlePeerMessage(window, message); });
    window.OnInitDialog();
    updates.StartDailyCheck();
    const int code = QCoreApplication::exec();
    // Nothing reaches the window from the check's thread once it has gone.
    updates.StopDailyCheck();
    return code;
}
