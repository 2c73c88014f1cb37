#pragma once
// A small modal count-down: a message, a bar that fills in `stepCount` steps of `stepLength`
// milliseconds, and an optional Cancel button. DoModal answers IDOK when the count-down ran out and
// IDCANCEL when the user cancelled; a cancel ends the dialog after the current step and a further
// 100 ms. A GUI timer counts, so nothing outlives the dialog; Enter, Escape and the close box do
// nothing.

#include "widgets/ExplicitEndDialog.h"

#include <QRect>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

class WaitDlg : public ExplicitEndDialog {
public:
    static constexpr int kMessageId = 1028;
    static constexpr int kProgressId = 1019;
    static constexpr int kCancelId = 1029;
    static constexpr int kCancelDelayMilliseconds = 100;

    explicit WaitDlg(QWidget* parent = nullptr);

    int stepCount = 0;
    int stepLength = 0;
    QString message;
    bool cancellable = false;
    // When set, the dialog is centred on this rectangle of the screen.
    bool centre = false;
    QRect centreRect;

    int DoModal();
    // Lays the dialog out and starts counting; DoModal does it before it runs the dialog.
    void Prepare();

private:
    void Step();
    void Cancel();

    QLabel* m_message;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QTimer m_timer;
    int m_step = 0;
    bool m_cancelled = false;
};
