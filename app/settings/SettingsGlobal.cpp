#include "app/settings/SettingsGlobal.h"

#include "app/settings/RouterTest.h"
#include "app/state/HelperProgram.h"
#include "platform/settings/SettingsKey.h"
#include "widgets/ControlId.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kGlobalTemplate = 107;
constexpr uint32_t kLowestPort = 1;
constexpr uint32_t kHighestPort = 65535;

QCheckBox* Check(QWidget* parent, QLayout* layout, int id, const char* text) {
    auto* check = new QCheckBox(QLatin1String(text), parent);
    SetControlId(*check, id);
    layout->addWidget(check);
    return check;
}

QLabel* Status(QWidget* parent, QLayout* layout, int id) {
    auto* label = new QLabel(parent);
    SetControlId(*label, id);
    layout->addWidget(label);
    return label;
}

uint32_t Checked(const QCheckBox* check) {
    return check->isChecked() ? 1 : 0;
}

} // namespace

SettingsGlobal::SettingsGlobal() : APropertyPage(kGlobalTemplate, QStringLiteral("Global")) {
    auto* layout = new QVBoxLayout(this);
    auto* control = new QGroupBox(QStringLiteral("iTunes Control"), this);
    auto* controlLayout = new QVBoxLayout(control);
    m_hide = Check(control, controlLayout, 3500, "Hide iTunes on Sync");
    m_autoClose = Check(control, controlLayout, 3501, "Auto Close on Done");
    layout->addWidget(control);

    auto* sync = new QGroupBox(QStringLiteral("iTunes to iTunes Sync"), this);
    auto* syncLayout = new QVBoxLayout(sync);
    m_startServer = Check(sync, syncLayout, 1020, "Allow others to Connect to Local iTunes");
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel(QStringLiteral("Port number to use:"), sync));
    m_port = new QLineEdit(sync);
    SetControlId(*m_port, 1030);
    portRow->addWidget(m_port);
    syncLayout->addLayout(portRow);
    m_pnpRouter = Check(sync, syncLayout, 1021, "UPnP Configure Router ");
    auto* router = new QGroupBox(QStringLiteral("Router Status"), sync);
    auto* routerLayout = new QVBoxLayout(router);
    m_nat = Status(router, routerLayout, 1058);
    m_ip = Status(router, routerLayout, 1059);
    m_portStatus = Status(router, routerLayout, 1060);
    m_nat->setText(QStringLiteral("Nat: Error"));
    m_ip->setText(QStringLiteral("Ext. Ip: Error"));
    m_portStatus->setText(QStringLiteral("Ext. Port: Error"));
    auto* test = new QPushButton(QStringLiteral("Test Router Now"), router);
    SetControlId(*test, kTestRouterId);
    connect(test, &QPushButton::clicked, this, [this] { TestRouter(); });
    routerLayout->addWidget(test);
    syncLayout->addWidget(router);
    layout->addWidget(sync);

    auto* pods = new QGroupBox(QStringLiteral("iPod Management"), this);
    auto* podLayout = new QVBoxLayout(pods);
    m_manageIPods = Check(pods, podLayout, 3502, "Allow Orvantis to Synchronize iPods");
    m_manageShuffles = Check(pods, podLayout, 3503, "Allow Orvantis to Synchronize Shuffles");
    layout->addWidget(pods);
    layout->addStretch();
}

void SettingsGlobal::SetServerLink(const HelperProgram* helper, SettingsKeyOpener openKey) {
    m_helper = helper;
    m_openKey = std::move(openKey);
}

void SettingsGlobal::OnInitDialog() {
    APropertyPage::OnInitDialog();
    ShowRouterTexts();
}

void SettingsGlobal::ShowRouterTexts() {
    const bool known = pnpRouter != 0;
    m_nat->setText(known ? natText : QStringLiteral("Nat: Unknown"));
    m_ip->setText(known ? ipText : QStringLiteral("Ext. IP: Unknown"));
    m_portStatus->setText(known ? portText : QStringLiteral("Ext. Port: Unknown"));
}

bool SettingsGlobal::Validate(QString& message) {
    if (!IsOpened())
        return true;
    bool number = false;
    const uint32_t port = m_port->text().trimmed().toUInt(&number);
    if (number && port >= kLowestPort && port <= kHighestPort)
        return true;
    message = QLatin1String(kPortMessage);
    return false;
}

bool SettingsGlobal::DoDataExchange(bool save) {
    if (!save) {
        m_hide->setChecked(hideITunes != 0);
        m_autoClose->setChecked(autoClose != 0);
        m_startServer->setChecked(startServer != 0);
        m_port->setText(QString::number(serverPort));
        m_manageIPods->setChecked(manageIPods != 0);
        m_manageShuffles->setChecked(manageShuffles != 0);
        m_pnpRouter->setChecked(pnpRouter != 0);
        return true;
    }
    QString message;
    if (!Validate(message))
        return false;
    hideITunes = Checked(m_hide);
    autoClose = Checked(m_autoClose);
    startServer = Checked(m_startServer);
    serverPort = m_port->text().trimmed().toUInt();
    manageIPods = Checked(m_manageIPods);
    manageShuffles = Checked(m_manageShuffles);
    pnpRouter = Checked(m_pnpRouter);
    return true;
}

void SettingsGlobal::OnOK() {
    UpdateData(true);
    const std::unique_ptr<nativesettings::SettingsKey> key = OpenSettingsKey(m_openKey);
    AppSettings::WriteServerValues(*key, startServer, serverPort, pnpRouter);
    if (m_helper && m_helper->IsRunning())
        m_helper->PostReloadSettings();
}

void SettingsGlobal::TestRouter() {
    if (!m_routerTest)
        return;
    const std::optional<RouterTest::Texts> texts = m_routerTest->Run(this);
    if (!texts)
        return;
    natText = texts->nat;
    ipText = texts->ip;
    portText = texts->port;
    m_nat->setText(natText);
    m_ip->setText(ipText);
    m_portStatus->setText(portText);
}
