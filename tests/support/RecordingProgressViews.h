#pragma once
// A status strip and log pane that remember what they were told.

#include "foundation/ProgressLogView.h"
#include "foundation/ProgressStatusView.h"

#include <mutex>
#include <string>
#include <vector>

class RecordingStatusView : public ProgressStatusView {
public:
    void SetRange(double maximum) override;
    void SetPos(double position) override;
    void SetStatus(int state, const AString* line1, const AString* line2, bool clear) override;
    void StartAnimation() override;
    void StopAnimation() override;

    // The calls in their order: "range", "pos", "status", "animate" and "still".
    std::vector<std::string> calls;
    std::vector<double> ranges;
    std::vector<double> positions;
    std::vector<int> states;
    AString line1;
    AString line2;
    int animationStarts = 0;
    int animationStops = 0;
};

class RecordingLogView : public ProgressLogView {
public:
    void AppendText(const AString& text) override { this->text += text; }
    void ClearText() override { text = AString(); }

    AString text;
};
