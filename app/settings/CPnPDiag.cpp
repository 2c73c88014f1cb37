#include "app/settings/CPnPDiag.h"

#include "platform/ui/WindowMessages.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kProgressId = 1019;

} // namespace

CPnPDiag::CPnPDiag(const int& statusWord, QWidget* parent, int tickMs)
    : ExplicitEndDialog(parent), m_status(statusWord), m_bar(new QProgressBar(this)) {
    setWindowTitle(QStringLiteral("PnP Router Configure"));
    m_bar->setObjectName(QStringLiteral("ctl_%1").arg(kProgressId));
    m_bar->setRange(0, kSteps);
    m_bar->setTextVisible(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ctl_%1").arg(nativeui::kIdCancel));
    connect(cancel, &QPushButton::clicked, this, [this] { EndWith(nativeui::kIdCancel); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Configuring Router..."), this));
    layout->addWidget(m_bar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    m_timer.setInterval(tickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
}

int CPnPDiag::DoModal() {
    m_ticks = 0;
    m_timer.start();
    const int code = RunModal(nativeui::kIdCancel);
    m_timer.stop();
    return code;
}

void CPnPDiag::Tick() {
    if (m_status == -1 || m_status == 1)
        return EndWith(kReported);
    if (++m_ticks >= kGiveUpTicks)
        return EndWith(kGaveUp);
    m_bar->setValue(std::min(m_bar->value() + 1, kSteps));
}
