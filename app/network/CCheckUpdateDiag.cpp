#include "app/network/CCheckUpdateDiag.h"

#include "app/network/UpdateChecker.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

constexpr int kProgressId = 1019;
constexpr int kTextId = 1041;

// The seconds of the description's fetch at which its bar takes one more step.
constexpr std::array kStepSeconds = {1, 2, 3, 4, 10, 30, 60, 120, 180, 300};

template <typename Control> Control* Named(Control* control, int id) {
    SetControlId(*control, id);
    return control;
}

} // namespace

CCheckUpdateDiag::CCheckUpdateDiag(UpdateChecker& checker, int tickMs)
    : m_checker(checker), m_bar(Named(new QProgressBar(this), kProgressId)),
      m_text(Named(new QLabel(QString::fromUtf8(kContacting), this), kTextId)),
      m_action(Named(new QPushButton(QStringLiteral("Update"), this), nativeui::kIdOk)) {
    setWindowTitle(QStringLiteral("Check for updates"));
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), nativeui::kIdCancel);
    m_text->setWordWrap(true);
    m_bar->setTextVisible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_action);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    m_action->hide();
    connect(m_action, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    m_timer.setInterval(tickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { OnTimer(); });
}

void CCheckUpdateDiag::Begin() {
    m_bar->setRange(0, kFetchSteps);
    m_bar->setValue(0);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    m_fetchStarted = m_checker.StartFetchDescription();
    m_timer.start();
}

QString CCheckUpdateDiag::Text() const {
    return m_text->text();
}

void CCheckUpdateDiag::OnTimer() {
    // Until its own fetch starts (the cancelled work of an earlier window may still be ending), the
    // state word is not this window's.
    if (!m_fetchStarted)
        m_fetchStarted = m_checker.StartFetchDescription();
    const int state = m_fetchStarted ? m_checker.State() : UpdateChecker::kFetching;
    switch (state) {
    case UpdateChecker::kFetching:
        ++m_elapsed;
        if (std::find(kStepSeconds.begin(), kStepSeconds.end(), m_elapsed) != kStepSeconds.end())
            m_bar->setValue(std::min(m_bar->value() + 1, kFetchSteps));
        return;
    case UpdateChecker::kFetched:
        return ShowDescription();
    case UpdateChecker::kDownloading:
        m_bar->setValue(static_cast<int>(std::min<uint64_t>(m_checker.Received() / kBytesPerStep, m_bar->maximum())));
        return;
    case UpdateChecker::kDownloaded:
        return ShowDownloadEnd();
    default:
        return;
    }
}

void CCheckUpdateDiag::ShowDescription() {
    m_description = m_checker.Description();
    if (m_checker.JobFailed() || !m_description)
        return Finish(kCheckFailed);
    if (m_description->version <= m_checker.OwnVersion())
        return Finish(kNoUpdate);
    m_text->setText(QLatin1String(kUpdateAvailable));
    m_checker.SetState(UpdateChecker::kOffered);
    m_action->show();
    m_bar->setValue(0);
}

void CCheckUpdateDiag::ShowDownloadEnd() {
    if (m_checker.JobFailed())
        return Finish(kDownloadFailed);
    m_checker.SetState(UpdateChecker::kFinished);
    m_text->setText(QLatin1String(kReady));
    m_action->setText(QLatin1String(kInstall));
    m_action->show();
    m_installReady = true;
    showNormal();
    raise();
    activateWindow();
}

void CCheckUpdateDiag::Finish(const char* text) {
    m_checker.SetState(UpdateChecker::kFinished);
    m_text->setText(QLatin1String(text));
    m_action->hide();
    m_bar->setValue(m_bar->maximum());
}

void CCheckUpdateDiag::OnOK() {
    if (m_checker.State() == UpdateChecker::kOffered && m_description) {
        if (!m_checker.StartDownload(*m_description))
            return;
        m_bar->setRange(0, static_cast<int>(m_description->size / kBytesPerStep));
        m_bar->setValue(0);
        m_text->setText(QLatin1String(kDownloading));
        m_action->hide();
        return;
    }
    if (m_checker.State() == UpdateChecker::kFinished && m_installReady) {
        // What was downloaded is never run from here: the user installs it from its folder.
        m_checker.OpenFolder();
        reject();
        m_checker.CloseProgram();
    }
}

void CCheckUpdateDiag::reject() {
    m_timer.stop();
    m_checker.Cancel();
    hide();
}
