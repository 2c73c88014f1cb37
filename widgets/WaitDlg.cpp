#include "widgets/WaitDlg.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ControlId.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kDialogWidthUnits = 186;
constexpr int kDialogHeightUnits = 81;
constexpr int kFullBar = 100;

} // namespace

WaitDlg::WaitDlg(QWidget* parent)
    : ExplicitEndDialog(parent), m_message(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Action"));
    resize(nativeui::DialogUnitsToPixelsX(kDialogWidthUnits),
           nativeui::DialogUnitsToPixelsY(kDialogHeightUnits));
    SetControlId(*m_message, kMessageId);
    m_message->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_message->setGeometry(nativeui::DialogUnitsToPixels(10, 14, 165, 8));
    SetControlId(*m_progress, kProgressId);
    m_progress->setGeometry(nativeui::DialogUnitsToPixels(7, 31, 172, 14));
    m_progress->setTextVisible(false);
    SetControlId(*m_cancel, kCancelId);
    m_cancel->setGeometry(nativeui::DialogUnitsToPixels(72, 52, 50, 14));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
}

int WaitDlg::DoModal() {
    Prepare();
    return RunModal(nativeui::kIdCancel);
}

void WaitDlg::Prepare() {
    m_step = 0;
    m_cancelled = false;
    m_cancel->setVisible(cancellable);
    if (!cancellable)
        resize(width(), m_cancel->geometry().top());
    if (centre)
        move(centreRect.left() + (centreRect.width() - width()) / 2,
             centreRect.top() + (centreRect.height() - height()) / 2);
    m_message->setText(message);
    m_progress->setRange(0, kFullBar);
    m_progress->setValue(0);
    if (stepCount <= 0) {
        QTimer::singleShot(0, this, [this] { EndWith(nativeui::kIdOk); });
        return;
    }
    m_timer.start(stepLength);
}

void WaitDlg::Step() {
    ++m_step;
    m_progress->setValue(kFullBar * m_step / stepCount);
    if (m_cancelled) {
        m_timer.stop();
        m_progress->setValue(kFullBar);
        QTimer::singleShot(kCancelDelayMilliseconds, this, [this] { EndWith(nativeui::kIdCancel); });
        return;
    }
    if (m_step >= stepCount) {
        m_timer.stop();
        EndWith(nativeui::kIdOk);
    }
}

void WaitDlg::Cancel() {
    // The count-down notices at the end of the current step.
    m_cancelled = true;
}
