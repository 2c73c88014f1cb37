#include "app/window/PacedLogView.h"

#include "platform/ui/GuiThread.h"
#include "widgets/LogPane.h"
#include "widgets/QtText.h"

PacedLogView::PacedLogView(LogPane& pane) : QObject(&pane), m_pane(pane) {}

void PacedLogView::AppendText(const AString& text) {
    {
        std::lock_guard lock(m_lock);
        m_pending += ToQString(text);
    }
    ScheduleSlice();
}

void PacedLogView::ClearText() {
    {
        std::lock_guard lock(m_lock);
        m_pending.clear();
    }
    m_pane.ClearText();
}

bool PacedLogView::HasPending() const {
    std::lock_guard lock(m_lock);
    return !m_pending.isEmpty() || m_scheduled;
}

void PacedLogView::ScheduleSlice() {
    {
        std::lock_guard lock(m_lock);
        if (m_scheduled || m_pending.isEmpty())
            return;
        m_scheduled = true;
    }
    nativeui::GuiThread::Post(this, [this] { ShowSlice(); });
}

void PacedLogView::ShowSlice() {
    QString slice;
    {
        std::lock_guard lock(m_lock);
        m_scheduled = false;
        // A slice ends at a line's end when one lies within it, so lines show whole.
        qsizetype end = std::min(m_pending.size(), kSliceChars);
        if (end < m_pending.size()) {
            const qsizetype lineEnd = m_pending.lastIndexOf(u'\n', end - 1);
            if (lineEnd >= 0)
                end = lineEnd + 1;
        }
        slice = m_pending.left(end);
        m_pending.remove(0, end);
    }
    m_pane.AppendText(ToAString(slice));
    ScheduleSlice();
}
