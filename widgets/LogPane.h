#pragma once
// The log pane of the main window: read-only text that grows at its end and keeps its end in view.
// Any thread may append or clear; the text reaches the pane on the GUI thread, in order.
//
// Whoever logs into it from a worker detaches it (AProgress::SetLogWindow(nullptr)) before it is
// destroyed.

#include "foundation/ProgressLogView.h"

#include <QPlainTextEdit>
#include <QString>
#include <mutex>

class LogPane : public QPlainTextEdit, public ProgressLogView {
public:
    LogPane(int id, QWidget* parent);

    void AppendText(const AString& text) override;
    void ClearText() override;

private:
    // Takes what the workers gathered and shows it.
    void ApplyPending();
    void ScheduleApply();

    std::mutex m_lock;
    QString m_pending;
    bool m_clearPending = false;
    bool m_applyQueued = false;
};
