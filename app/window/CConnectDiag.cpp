#include "app/window/CConnectDiag.h"

#include "app/state/StartupCommandLine.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/ui/GuiThread.h"
#include "platform/ui/WindowMessages.h"
#include "remote/CASockets.h"
#include "widgets/MessageBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kGreeterEndLimitMs = 30000;

QString ControlName(int id) {
    return QStringLiteral("ctl_%1").arg(id);
}

} // namespace

CConnectDiag::CConnectDiag(CASockets& sockets, QWidget* parent)
    : ExplicitEndDialog(parent), m_sockets(sockets), m_host(new QLineEdit(this)), m_port(new QLineEdit(this)),
      m_list(new QListWidget(this)), m_status(new QLabel(QStringLiteral("Searching..."), this)),
      m_bar(new QProgressBar(this)), m_connect(new QPushButton(QStringLiteral("Connect"), this)) {
    setWindowTitle(QStringLiteral("Connect to remote iTunes"));
    auto* refresh = new QPushButton(QStringLiteral("Refresh "), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_host->setObjectName(ControlName(kHostId));
    m_port->setObjectName(ControlName(kPortId));
    m_list->setObjectName(ControlName(kListId));
    m_status->setObjectName(ControlName(kStatusId));
    m_bar->setObjectName(ControlName(kProgressId));
    refresh->setObjectName(ControlName(kRefreshId));
    m_connect->setObjectName(ControlName(nativeui::kIdOk));
    cancel->setObjectName(ControlName(nativeui::kIdCancel));
    m_bar->setRange(0, kScanSteps);
    m_bar->setTextVisible(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Connect to:"), this), 0, 0);
    layout->addWidget(m_host, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Port:"), this), 0, 2);
    layout->addWidget(m_port, 0, 3);
    layout->addWidget(m_list, 1, 0, 1, 4);
    layout->addWidget(m_status, 2, 0, 1, 2);
    layout->addWidget(m_bar, 2, 2, 1, 2);
    layout->addWidget(refresh, 3, 1);
    layout->addWidget(m_connect, 3, 2);
    layout->addWidget(cancel, 3, 3);

    connect(refresh, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(m_connect, &QPushButton::clicked, this, [this] { Connect(); });
    connect(cancel, &QPushButton::clicked, this, [this] { EndWith(kNoHost); });
    connect(m_list, &QListWidget::currentTextChanged, m_host, &QLineEdit::setText);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
}

// A greeting still on its way is waited for: it reads the dialog's socket client.
CConnectDiag::~CConnectDiag() {
    m_greeter.WaitInEventLoop(std::chrono::milliseconds(kGreeterEndLimitMs));
    m_greeter.JoinEnded();
}

int CConnectDiag::DoModal() {
    if (m_sockets.IsScanRunning()) {
        m_bar->setValue(m_sockets.GetScanPosition());
    } else {
        m_sockets.StartScan();
        m_bar->setValue(0);
    }
    ShowNewHosts();
    m_host->setFocus();
    m_timer.start();
    const int code = RunModal(kNoHost);
    m_timer.stop();
    return code;
}

void CConnectDiag::Tick() {
    if (!m_sockets.IsScanRunning()) {
        m_status->setText(QStringLiteral("Search Done"));
        m_timer.stop();
        m_bar->setValue(0);
        return;
    }
    static const char* const kSearching[] = {"Searching .", "Searching . .", "Searching . . ."};
    m_status->setText(QLatin1String(kSearching[m_step]));
    m_step = (m_step + 1) % 3;
    m_bar->setValue(m_sockets.GetScanPosition());
    ShowNewHosts();
}

void CConnectDiag::ShowNewHosts() {
    const std::vector<FoundHost> hosts = m_sockets.FoundHosts().Copy();
    for (size_t i = static_cast<size_t>(m_shown); i < hosts.size(); ++i)
        m_list->addItem(QString::fromStdString(hosts[i].name.substr(0, FoundHost::kNameSize)));
    m_shown = static_cast<int>(hosts.size());
}

void CConnectDiag::Refresh() {
    if (m_sockets.IsScanRunning())
        return;
    m_shown = 0;
    m_sockets.FoundHosts().Clear();
    m_list->clear();
    m_sockets.StartScan();
    m_bar->setValue(0);
    if (!m_timer.isActive())
        m_timer.start();
}

int CConnectDiag::ListedName(const std::string& name) const {
    const std::vector<FoundHost> hosts = m_sockets.FoundHosts().Copy();
    for (size_t i = 0; i < hosts.size(); ++i) {
        if (hosts[i].name == name)
            return static_cast<int>(i);
    }
    return kNoHost;
}

void CConnectDiag::Connect() {
    const std::string host = m_host->text().toStdString().substr(0, kHostChars);
    if (const int listed = ListedName(host); listed != kNoHost) {
        EndWith(listed);
        return;
    }
    if (m_greeter.IsWorking())
        return;
    const uint32_t port = StartupCommandLine::ParseNumber(m_port->text());
    m_greeter.JoinEnded();
    m_connect->setEnabled(false);
    m_greeter.Start([this, host, port] {
        const Greeting greeting = Greet(host, port);
        nativeui::GuiThread::Post(this, [this, greeting] { OnGreeted(greeting); });
    });
}

// On the worker: a host that does not resolve is left as typed; one of the table ends the dialog
// without traffic; any other is greeted.
CConnectDiag::Greeting CConnectDiag::Greet(const std::string& host, uint32_t port) const {
    Greeting greeting;
    const std::optional<uint32_t> address = nativesockets::ResolveIPv4(host);
    if (!address)
        return greeting;
    greeting.resolved = true;
    const std::string text = nativesockets::FormatIPv4(*address);
    const std::vector<FoundHost> hosts = m_sockets.FoundHosts().Copy();
    for (size_t i = 0; i < hosts.size(); ++i) {
        if (hosts[i].address == text) {
            greeting.listed = static_cast<int>(i);
            return greeting;
        }
    }
    FoundHost record;
    if (m_sockets.QueryHost(record, text, port) != 1)
        return greeting;
    record.address = text;
    if (port != 0)
        record.port = static_cast<uint16_t>(port);
    greeting.answered = record;
    return greeting;
}

void CConnectDiag::OnGreeted(const Greeting& greeting) {
    m_connect->setEnabled(true);
    if (!greeting.resolved)
        return;
    if (greeting.listed != kNoHost) {
        EndWith(greeting.listed);
        return;
    }
    // A host the table refuses (this computer's own address) is no host to connect to.
    const int added = greeting.answered ? m_sockets.AddFoundHost(*greeting.answered) : kNoHost;
    if (added == kNoHost) {
        messagebox::Show(this, QLatin1String(kCannotConnect));
        return;
    }
    EndWith(added);
}
