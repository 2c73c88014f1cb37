#include "widgets/WaitDlg.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/ToolkitFonts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kDialogWidthUnits = 186;
constexpr int kDialogHeightUnits = 81;
constexpr int kFullBar = 100;

QString ControlName(int id) {
    return QStringLiteral("ctl_%1").arg(id);
}

} // namespace

WaitDlg::WaitDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_message(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Action"));
    setFont(toolkitfonts::DialogFont());
    resize(nativeui::DialogUnitsToPixelsX(kDialogWidthUnits),
           nativeui::DialogUnitsToPixelsY(kDialogHeightUnits));
    m_message->setObjectName(ControlName(kMessageId));
    m_message->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_message->setGeometry(nativeui::DialogUnitsToPixels(10, 14, 165, 8));
    m_progress->setObjectName(ControlName(kProgressId));
    m_progress->setGeometry(nativeui::DialogUnitsToPixels(7, 31, 172, 14));
    m_progress->setTextVisible(false);
    m_cancel->setObjectName(ControlName(kCancelId));
    m_cancel->setGeometry(nativeui::DialogUnitsToPixels(72, 52, 50, 14));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    connect(&m_timer, &QTimer::timeout, this, [this] { Step(); });
}

int WaitDlg::DoModal() {
    Prepare();
    exec();
    return m_result;
}

void WaitDlg::Prepare() {
    m_result = nativeui::kIdCancel;
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
        QTimer::singleShot(0, this, [this] { Finish(nativeui::kIdOk); });
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
        QTimer::singleShot(kCancelDelayMilliseconds, this, [this] { Finish(nativeui::kIdCancel); });
        return;
    }
    if (m_step >= stepCount) {
        m_timer.stop();
        Finish(nativeui::kIdOk);
    }
}

void WaitDlg::Cancel() {
    // The count-down notices at the end of the current step.
    m_cancelled = true;
}

void WaitDlg::Finish(int code) {
    m_result = code;
    done(QDialog::Accepted);
}

void WaitDlg::reject() {}

void WaitDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}
