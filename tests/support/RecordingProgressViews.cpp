#include "support/RecordingProgressViews.h"

void RecordingStatusView::SetStatus(int state, const AString* first, const AString* second, bool clear) {
    states.push_back(state);
    if (first || clear)
        line1 = first ? *first : AString();
    if (second || clear)
        line2 = second ? *second : AString();
}
