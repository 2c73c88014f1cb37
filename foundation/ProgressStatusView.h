#pragma once
// The status strip that a progress object drives: its position bar, two text lines and busy animation.
// Called from worker threads; an implementation hands the calls to its own thread.

#include "foundation/AString.h"

class ProgressStatusView {
public:
    enum State { kOneLine = 1, kTwoLines = 2, kProgressBar = 3 };

    virtual ~ProgressStatusView() = default;
    virtual void SetRange(double maximum) = 0;
    virtual void SetPos(double position) = 0;
    // A null line stays as it is, or is emptied when `clear` is set.
    virtual void SetStatus(int state, const AString* line1, const AString* line2, bool clear) = 0;
    virtual void StartAnimation() = 0;
    virtual void StopAnimation() = 0;
};
