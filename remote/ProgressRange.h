#pragma once
// Keeps a progress range of 1.0 open over a split send or receive, when there is a progress sink.

#include "foundation/AProgress.h"

#include <cstdint>

class ProgressRange {
public:
    explicit ProgressRange(AProgress* progress) : m_progress(progress) {
        if (m_progress)
            m_progress->PushRange(1.0);
    }
    ProgressRange(const ProgressRange&) = delete;
    ProgressRange& operator=(const ProgressRange&) = delete;
    ~ProgressRange() {
        if (m_progress)
            m_progress->PopRange();
    }

    void Set(uint64_t done, uint64_t total) {
        if (m_progress && total > 0)
            m_progress->SetPos(static_cast<double>(done) / static_cast<double>(total));
    }

private:
    AProgress* m_progress;
};
