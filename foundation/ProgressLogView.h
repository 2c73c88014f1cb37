#pragma once
// The log pane that a progress object moves its gathered text into. Called from any thread.

#include "foundation/AString.h"

class ProgressLogView {
public:
    virtual ~ProgressLogView() = default;
    // Appends at the end and keeps the end in view.
    virtual void AppendText(const AString& text) = 0;
    virtual void ClearText() = 0;
};
