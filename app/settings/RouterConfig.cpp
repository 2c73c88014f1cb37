#include "app/settings/RouterConfig.h"

#include "app/settings/CPnPDiag.h"
#include "app/settings/RouterTest.h"
#include "app/state/HelperProgram.h"
#include "app/state/RouterStatus.h"
#include "app/state/SyncSetNames.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/sockets/HostAddresses.h"
#include "remote/FoundHost.h"

#include <QMessageBox>

namespace {

constexpr int kDone = 1;
constexpr int kFailed = -1;

void Warn(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QLatin1String(RouterTest::kTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

QString NoConfiguration() {
    return QStringLiteral("Unable to get your router configuration.\n");
}

QString BehindAnotherRouter() {
    return QStringLiteral("Your router is not connected directly to the internet,\nit is behind another router. "
                          "\n \nIf you have DSL try configuring your modem with \nPPPoE so your router connects "
                          "directly to the internet.");
}

} // namespace

std::optional<RouterConfig> RouterConfig::FromRouterTest(const HelperProgram& helper, int& statusWord,
                                                         QWidget* parent) {
    statusWord = 0;
    if (!helper.IsRunning() || !helper.PostTestRouter())
        statusWord = kFailed;
    else
        CPnPDiag(statusWord, parent).DoModal();
    if (statusWord == kFailed) {
        Warn(parent, RouterTest::FailureMessage());
        return std::nullopt;
    }
    if (statusWord != kDone)
        return std::nullopt;
    const std::optional<RouterStatus> status = RouterStatus::AskHelper(helper, false);
    // An address that is no dotted address cannot be reached by anyone: nothing to save.
    if (!status || FoundHost::CanonicalAddress(status->externalIp.toStdString()).empty()) {
        Warn(parent, NoConfiguration());
        return std::nullopt;
    }
    if (!status->reachable) {
        Warn(parent, BehindAnotherRouter());
        return std::nullopt;
    }
    return RouterConfig{nativesockets::GetHostName().substr(0, FoundHost::kMaxNameLength),
                        status->externalPort.toStdString(), status->externalIp.toStdString()};
}

bool RouterConfig::Write(const AString& path) const {
    const nativeini::IniEntry entries[] = {{"CompName", compName}, {"ExtPort", extPort}, {"ExtIP", extIP}};
    return nativeini::PrivateProfile(path.ToSystem8Bit()).WriteStrings("Stat", entries);
}

AString RouterConfig::MailFile(const AString& folder, const std::string& hostName) {
    AString path = folder;
    path.AppendPath(SyncSetNames::SafeStem(AString::FromSystem8Bit(hostName)) + kExtension);
    return path;
}
