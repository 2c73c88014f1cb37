#include "app/network/RouterConfigCommands.h"

#include "app/settings/RouterTest.h"
#include "app/state/HelperProgram.h"
#include "app/state/RouterStatus.h"
#include "app/state/SyncSetNames.h"
#include "platform/shell/Shell.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/SyncSetsFolder.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AFileDialog.h"
#include "widgets/QtText.h"

namespace {

constexpr uint32_t kLowestPort = 1;
constexpr uint32_t kHighestPort = 65535;

// Only decimal digits make a port here: the computer that loads the file connects to it.
bool IsPort(const QString& text) {
    bool ok = false;
    const uint32_t port = text.toUInt(&ok, 10);
    return ok && !text.startsWith(QLatin1Char('+')) && port >= kLowestPort && port <= kHighestPort;
}

} // namespace

std::string RouterConfigCommands::ComputerName() {
    const std::string name = nativesockets::GetHostName();
    return name.substr(0, RouterConfiguration::kMaxCompNameBytes);
}

QString RouterConfigCommands::WriteFailureMessage(const QString& path) {
    return QStringLiteral("Unable to write the router configuration file:\n") + path;
}

std::optional<RouterConfiguration> RouterConfigCommands::ShowRouterStatus(QWidget* parent) {
    switch (m_test.StartAndWait(parent)) {
    case RouterTest::WaitEnd::Failed:
        RouterTest::Tell(parent, RouterTest::FailureMessage(), true);
        return std::nullopt;
    case RouterTest::WaitEnd::Cancelled:
        return std::nullopt;
    case RouterTest::WaitEnd::Done:
        break;
    }
    if (!m_helper.IsRunning())
        return std::nullopt;
    const std::optional<RouterStatus> status = RouterStatus::AskHelper(m_helper, false);
    if (!status || !status->hasAddress || !IsPort(status->externalPort)) {
        RouterTest::Tell(parent, RouterTest::NoConfigurationMessage(), true);
        return std::nullopt;
    }
    if (!status->reachable) {
        RouterTest::Tell(parent, RouterTest::BehindAnotherRouterMessage(), true);
        return std::nullopt;
    }
    return RouterConfiguration{ComputerName(), status->externalPort.toStdString(), status->externalIp.toStdString()};
}

void RouterConfigCommands::SaveRouterConfig(QWidget* parent) {
    const std::optional<RouterConfiguration> configuration = ShowRouterStatus(parent);
    if (!configuration)
        return;
    AFileDialog dialog(false, QStringLiteral("txfig"), QString(), AFileDialog::kOverwritePrompt,
                       QLatin1String(RouterConfiguration::kFileFilter), parent);
    AString path;
    if (dialog.DoModal() == nativeui::kIdOk && dialog.GetFirstFile(path))
        WriteOrTell(*configuration, ToQString(path), parent);
}

void RouterConfigCommands::EmailRouterConfig(QWidget* parent) {
    const std::optional<RouterConfiguration> configuration = ShowRouterStatus(parent);
    if (!configuration)
        return;
    AString path;
    if (!GetSyncSetsFolder(path)) {
        RouterTest::Tell(parent, WriteFailureMessage(QStringLiteral("SyncSets")), true);
        return;
    }
    // The name comes from the name service: it never reaches outside the folder.
    path.AppendPath(SyncSetNames::SafeStem(AString::FromSystem8Bit(configuration->compName)) +
                    RouterConfiguration::kExtension);
    if (WriteOrTell(*configuration, ToQString(path), parent) && m_shell)
        m_shell->MailFile(ToQString(path));
}

bool RouterConfigCommands::WriteOrTell(const RouterConfiguration& configuration, const QString& path,
                                       QWidget* parent) const {
    if (configuration.Write(PathToAString(path).ToSystem8Bit()))
        return true;
    RouterTest::Tell(parent, WriteFailureMessage(path), true);
    return false;
}
