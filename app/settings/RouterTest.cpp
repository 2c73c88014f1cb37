#include "app/settings/RouterTest.h"

#include "app/settings/CPnPDiag.h"
#include "app/state/HelperProgram.h"

#include <QMessageBox>

namespace {

constexpr int kDone = 1;
constexpr int kFailed = -1;

} // namespace

void RouterTest::Tell(QWidget* parent, const QString& text, bool warning) {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::NoIcon, QLatin1String(kTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

RouterTest::Texts RouterTest::FailedTexts() {
    return {RouterStatus::FailedNat(), RouterStatus::FailedIp(), RouterStatus::FailedPort()};
}

RouterTest::Texts RouterTest::StatusTexts(const RouterStatus& status) {
    return {status.NatText(), status.IpText(), status.PortText()};
}

QString RouterTest::FailureMessage() {
    return QStringLiteral(
        "Unable to configure your router \n\n Possible reasons: \n - Your OS might not be UPnP-capable "
        "(basically, you need \n    Win XP (any SP) or above, Win 2000 is not enough) or it \n    might not be "
        "turned on \n - Your router might not have UPnP capability or it might not be enabled \n - Your firewall "
        "might be blocking TCP port 2869 or UDP port 1900 \n    which are both needed for UPnP \n - Orvantis "
        "Helper may not be running, make sure it is running. \n\nTry again after checking into all four items. "
        "Try power cycling your router as well.");
}

QString RouterTest::BehindAnotherRouterMessage() {
    return QStringLiteral("Your router is not connected directly to the internet,\nit is behind another router. "
                          "\n \nIf you have DSL try configuring your modem with \nPPPoE so your router connects "
                          "directly to the internet.");
}

QString RouterTest::NoConfigurationMessage() {
    return QStringLiteral("Unable to get your router configuration.\n");
}

RouterTest::WaitEnd RouterTest::StartAndWait(QWidget* parent) {
    m_status = 0;
    if (!m_helper.IsRunning() || !m_helper.PostTestRouter()) {
        m_status = kFailed;
        return WaitEnd::Failed;
    }
    CPnPDiag wait(m_status, parent, m_tickMs);
    if (wait.DoModal() == CPnPDiag::kGaveUp)
        m_status = kFailed;
    if (m_status == kFailed)
        return WaitEnd::Failed;
    return m_status == kDone ? WaitEnd::Done : WaitEnd::Cancelled;
}

std::optional<RouterTest::Texts> RouterTest::Run(QWidget* parent) {
    const WaitEnd end = StartAndWait(parent);
    if (end == WaitEnd::Failed)
        return ReportFailure(parent);
    if (end == WaitEnd::Cancelled)
        return std::nullopt;
    // A server program that went away, or a status without a mapping, counts as a failed test.
    const std::optional<RouterStatus> status = RouterStatus::AskHelper(m_helper, false);
    if (!status)
        return ReportFailure(parent);
    return ReportSuccess(*status, parent);
}

RouterTest::Texts RouterTest::ReportSuccess(const RouterStatus& status, QWidget* parent) const {
    if (status.reachable) {
        Tell(parent,
             QStringLiteral("Your router was successfully configured.\n\n - Your external IP is: %1 \n\n - Your "
                            "external Port is: %2 \n")
                 .arg(status.externalIp, status.externalPort),
             false);
    } else {
        Tell(parent, status.hasAddress ? BehindAnotherRouterMessage() : NoConfigurationMessage(), false);
    }
    return StatusTexts(status);
}

RouterTest::Texts RouterTest::ReportFailure(QWidget* parent) const {
    Tell(parent, FailureMessage(), true);
    return FailedTexts();
}
