#pragma once
// The log as the window's progress object feeds it: text from any thread is gathered and handed to
// the log pane on the GUI thread in slices of bounded size, one slice per turn of the event loop, so
// a worker that logs faster than the pane can show never stalls the window for long.

#include "foundation/ProgressLogView.h"

#include <QObject>
#include <QString>
#include <mutex>

class LogPane;

class PacedLogView : public QObject, public ProgressLogView {
public:
    // About a thousand lines of a sync's log.
    static constexpr qsizetype kSliceChars = 16 * 1024;

    explicit PacedLogView(LogPane& pane);

    void AppendText(const AString& text) override;
    void ClearText() override;

    // Text gathered and not shown yet.
    bool HasPending() const;

private:
    void ShowSlice();
    void ScheduleSlice();

    LogPane& m_pane;
    mutable std::mutex m_lock;
    QString m_pending;
    bool m_scheduled = false;
};
