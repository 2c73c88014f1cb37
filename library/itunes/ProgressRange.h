#pragma once
// A progress range that is closed however its work ends; no progress object: nothing is shown.

#include "foundation/AProgress.h"
#include "foundation/AString.h"

class ProgressRange {
public:
    ProgressRange(AProgress* progress, double fraction, const AString* text) : m_progress(progress) {
        if (m_progress)
            m_progress->PushRange(fraction, text, false, false);
    }
    ProgressRange(const ProgressRange&) = delete;
    ProgressRange& operator=(const ProgressRange&) = delete;
    ~ProgressRange() { Close(nullptr); }

    // Closes the range now, with its closing text.
    void Close(const AString* text) {
        if (m_progress)
            m_progress->PopRange(text, false, false);
        m_progress = nullptr;
    }

private:
    AProgress* m_progress;
};
