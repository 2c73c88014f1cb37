#include "widgets/LogPane.h"

#include "platform/ui/GuiThread.h"
#include "widgets/ControlId.h"
#include "widgets/QtText.h"

#include <QScrollBar>
#include <QTextCursor>

namespace {

// Log lines end with "\r\n"; the pane breaks lines at "\n" alone.
QString PaneText(const AString& text) {
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

LogPane::LogPane(int id, QWidget* parent) : QPlainTextEdit(parent) {
    SetControlId(*this, id);
    setReadOnly(true);
}

void LogPane::AppendText(const AString& text) {
    const QString shown = PaneText(text);
    {
        std::lock_guard lock(m_lock);
        m_pending += shown;
    }
    ScheduleApply();
}

void LogPane::ClearText() {
    {
        std::lock_guard lock(m_lock);
        // What was appended before the clear is gone with it.
        m_pending.clear();
        m_clearPending = true;
    }
    ScheduleApply();
}

void LogPane::ScheduleApply() {
    if (nativeui::GuiThread::IsCurrent()) {
        ApplyPending();
        return;
    }
    {
        std::lock_guard lock(m_lock);
        if (m_applyQueued)
            return;
        m_applyQueued = true;
    }
    nativeui::GuiThread::Post(this, [this] { ApplyPending(); });
}

void LogPane::ApplyPending() {
    QString text;
    bool clearFirst;
    {
        std::lock_guard lock(m_lock);
        text.swap(m_pending);
        clearFirst = m_clearPending;
        m_clearPending = false;
        m_applyQueued = false;
    }
    if (clearFirst)
        clear();
    if (text.isEmpty())
        return;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
