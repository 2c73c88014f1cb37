#include "support/RecordingProgressViews.h"

void RecordingStatusView::SetRange(double maximum) {
    calls.push_back("range");
    ranges.push_back(maximum);
}

void RecordingStatusView::SetPos(double position) {
    calls.push_back("pos");
    positions.push_back(position);
}

void RecordingStatusView::StartAnimation() {
    calls.push_back("animate");
    ++animationStarts;
}

void RecordingStatusView::StopAnimation() {
    calls.push_back("still");
    ++animationStops;
}

void RecordingStatusView::SetStatus(int state, const AString* first, const AString* second, bool clear) {
    calls.push_back("status");
    states.push_back(state);
    if (first || clear)
        line1 = first ? *first : AString();
    if (second || clear)
        line2 = second ? *second : AString();
}
