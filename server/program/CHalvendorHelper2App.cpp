#include "server/program/CHalvendorHelper2App.h"

#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/itunes/ITunesServices.h"
#include "platform/ipc/PeerEndpoint.h"
#include "platform/ipc/PeerLink.h"
#include "platform/settings/SettingsKey.h"
#include "platform/shell/DesktopShell.h"
#include "remote/SyncSetsFolder.h"
#include "server/program/CMainFrame.h"
#include "server/program/HelperTrayMenu.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcessEnvironment>

#include <sys/stat.h>
#include <unistd.h>

using namespace nativeipc;

namespace {

// Beside this program, unless the environment names another (tests).
QString MainProgramFile() {
    const QString named = QProcessEnvironment::systemEnvironment().value(QStringLiteral("ORVANTIS_MAIN_PROGRAM"));
    return named.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/Orvantis") : named;
}

bool AskToExit() {
    return QMessageBox::warning(nullptr, HelperTrayMenu::ExitTitle(), HelperTrayMenu::ExitQuestion(),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

int CHalvendorHelper2App::ClearSyncSetsFiles() {
    AString folder;
    if (!GetSyncSetsFolder(folder))
        return 0;
    const QDir dir(QString::fromStdString(folder.ToSystem8Bit()));
    int deleted = 0;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat status {};
        if (lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode) && unlink(path.constData()) == 0)
            ++deleted;
    }
    return deleted;
}

int CHalvendorHelper2App::Quit() {
    PeerLink(m_peers).Send(PeerProgram::Server, {peermessage::kHelperQuit, 0, 0, {}});
    ClearSyncSetsFiles();
    return 0;
}

int CHalvendorHelper2App::Run() {
    if (m_arguments.mid(1).contains(QString::fromLatin1(kQuitArgument)))
        return Quit();
    PeerEndpoint endpoint(PeerProgram::Server, m_peers);
    if (endpoint.Listen() != PeerEndpoint::ListenResult::Listening)
        return 0;

    InstallITunesServices(ITunesDBPodDatabase::Opener());
    nativeshell::DesktopShell shell;
    CMainFrame::Setup setup;
    setup.peers = m_peers;
    setup.shell = &shell;
    setup.mainProgram = MainProgramFile();
    setup.loadSettings = [] { return HelperSettings::Load(nativesettings::SettingsKey()); };
    setup.confirmExit = AskToExit;
    CMainFrame frame(std::move(setup));
    endpoint.SetHandler([&frame](const PeerMessage& message) { return frame.OnMessage(message); });
    frame.Start();
    return QCoreApplication::exec();
}
