#include "app/network/CConnectDiag.h"

#include "app/window/WorkerThread.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/ui/GuiThread.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"
#include "remote/CASockets.h"
#include "widgets/MessageBox.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kHostEditId = 1030;
constexpr int kStatusId = 1051;
constexpr int kProgressId = 1019;
constexpr int kHostListId = 1035;
constexpr int kPortEditId = 1036;
constexpr int kRefreshId = 1029;
constexpr int kHighestPort = 65535;

template <typename Control> Control* Named(Control* control, int id) {
    SetControlId(*control, id);
    return control;
}

// The text as 8-bit text, cut to what the host field holds.
std::string HostText(const QString& text) {
    std::string host = text.trimmed().toStdString();
    host.resize(std::min(host.size(), CConnectDiag::kMaxHostBytes));
    return host;
}

int IndexOfName(const std::vector<FoundHost>& hosts, const std::string& name) {
    for (size_t i = 0; i < hosts.size(); ++i) {
        if (hosts[i].name == name)
            return static_cast<int>(i);
    }
    return CConnectDiag::kNoHost;
}

int IndexOfAddress(const std::vector<FoundHost>& hosts, const std::string& address) {
    for (size_t i = 0; i < hosts.size(); ++i) {
        if (hosts[i].address == address)
            return static_cast<int>(i);
    }
    return CConnectDiag::kNoHost;
}

} // namespace

CConnectDiag::CConnectDiag(CASockets& sockets, WorkerThread& hello, QWidget* parent)
    : ExplicitEndDialog(parent), m_sockets(sockets), m_hello(hello),
      m_status(Named(new QLabel(QStringLiteral("Searching..."), this), kStatusId)),
      m_bar(Named(new QProgressBar(this), kProgressId)), m_hosts(Named(new QListWidget(this), kHostListId)),
      m_host(Named(new QLineEdit(this), kHostEditId)), m_port(Named(new QLineEdit(this), kPortEditId)),
      m_connect(Named(new QPushButton(QStringLiteral("Connect"), this), nativeui::kIdOk)),
      m_refresh(Named(new QPushButton(QStringLiteral("Refresh "), this), kRefreshId)) {
    setWindowTitle(QStringLiteral("Connect to remote iTunes"));
    m_port->setValidator(new QIntValidator(0, kHighestPort, m_port));
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), nativeui::kIdCancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Connect to:"), this), 0, 0);
    layout->addWidget(m_host, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Port:"), this), 0, 2);
    layout->addWidget(m_port, 0, 3);
    layout->addWidget(m_hosts, 1, 0, 1, 4);
    layout->addWidget(m_status, 2, 0, 1, 2);
    layout->addWidget(m_bar, 2, 2, 1, 2);
    layout->addWidget(m_refresh, 3, 1);
    layout->addWidget(m_connect, 3, 2);
    layout->addWidget(cancel, 3, 3);
    m_connect->setDefault(true);
    connect(m_connect, &QPushButton::clicked, this, [this] { OnConnect(); });
    connect(cancel, &QPushButton::clicked, this, [this] { EndWith(kNoHost); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { OnRefresh(); });
    connect(m_hosts, &QListWidget::currentTextChanged, m_host, &QLineEdit::setText);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { OnTimer(); });
}

int CConnectDiag::DoModal() {
    OnInitDialog();
    const int code = RunModal(kNoHost);
    m_timer.stop();
    return code;
}

void CConnectDiag::OnInitDialog() {
    m_bar->setRange(0, kScanSteps);
    if (m_sockets.IsScanRunning()) {
        m_bar->setValue(m_sockets.GetScanPosition());
    } else {
        m_sockets.StartScan();
        m_bar->setValue(0);
    }
    ShowNewHosts();
    m_host->setFocus();
    m_timer.start();
}

void CConnectDiag::OnTimer() {
    if (!m_sockets.IsScanRunning()) {
        m_status->setText(QStringLiteral("Search Done"));
        m_timer.stop();
        m_bar->setValue(0);
        ShowNewHosts();
        return;
    }
    static const char* const kSteps[] = {"Searching .", "Searching . .", "Searching . . ."};
    m_status->setText(QLatin1String(kSteps[m_step]));
    m_step = (m_step + 1) % 3;
    m_bar->setValue(m_sockets.GetScanPosition());
    ShowNewHosts();
}

void CConnectDiag::ShowNewHosts() {
    const std::vector<FoundHost> hosts = m_sockets.FoundHosts().Copy();
    for (size_t i = static_cast<size_t>(m_shown); i < hosts.size(); ++i)
        m_hosts->addItem(QString::fromStdString(hosts[i].name));
    m_shown = static_cast<int>(hosts.size());
}

void CConnectDiag::OnRefresh() {
    if (m_sockets.IsScanRunning())
        return;
    m_shown = 0;
    m_sockets.FoundHosts().Clear();
    m_hosts->clear();
    m_sockets.StartScan();
    m_bar->setValue(0);
    if (!m_timer.isActive())
        m_timer.start();
}

void CConnectDiag::OnConnect() {
    if (m_helloRunning)
        return;
    const std::string host = HostText(m_host->text());
    const int listed = IndexOfName(m_sockets.FoundHosts().Copy(), host);
    if (listed != kNoHost)
        return EndWith(listed);
    // The port as typed stays with the host; empty is the host's usual port.
    const uint32_t port = m_port->text().toUInt();
    m_hello.JoinEnded();
    CASockets& sockets = m_sockets;
    QPointer<CConnectDiag> dialog(this);
    const bool started = m_hello.Start([&sockets, host, port, dialog] {
        const HelloOutcome outcome = Hello(sockets, host, port);
        nativeui::GuiThread::Post(QCoreApplication::instance(), [dialog, outcome] {
            if (dialog)
                dialog->OnHelloEnded(outcome);
        });
    });
    if (!started)
        return;
    m_helloRunning = true;
    m_connect->setEnabled(false);
}

CConnectDiag::HelloOutcome CConnectDiag::Hello(CASockets& sockets, const std::string& host, uint32_t port) {
    HelloOutcome outcome;
    const std::optional<uint32_t> address = nativesockets::ResolveIPv4(host);
    if (!address)
        return outcome;
    outcome.resolved = true;
    outcome.knownIndex = IndexOfAddress(sockets.FoundHosts().Copy(), nativesockets::FormatIPv4(*address));
    if (outcome.knownIndex != kNoHost)
        return outcome;
    FoundHost record;
    if (sockets.QueryHost(record, host, port) == 1)
        outcome.answered = record;
    return outcome;
}

void CConnectDiag::OnHelloEnded(const HelloOutcome& outcome) {
    m_hello.JoinEnded();
    m_helloRunning = false;
    m_connect->setEnabled(true);
    // A host that does not resolve leaves the dialog as it was.
    if (!outcome.resolved)
        return;
    if (outcome.knownIndex != kNoHost)
        return EndWith(outcome.knownIndex);
    // A host that did not answer, or that the table does not take (this computer itself), is no choice.
    const int index = outcome.answered ? m_sockets.AddFoundHost(*outcome.answered) : kNoHost;
    if (index == kNoHost) {
        messagebox::Show(this, QLatin1String(kCannotConnect));
        return;
    }
    EndWith(index);
}
