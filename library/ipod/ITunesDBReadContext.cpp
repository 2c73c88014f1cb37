#include "library/ipod/ITunesDBReadContext.h"

#include "foundation/AProgress.h"
#include "foundation/AString.h"
#include "foundation/ErrorCodes.h"

void ITunesDBReadContext::OpenRange(const AString& text) const {
    if (progress)
        progress->PushRange(1.0, &text);
}

void ITunesDBReadContext::CloseRange(const AString& text) const {
    if (progress)
        progress->PopRange(&text);
}

int ITunesDBReadContext::BeforeRecord(uint32_t index, uint32_t count) const {
    if (CancelRequested())
        return kUserCancel;
    // A record is shown when it moves the bar by a percent: a database holds tens of thousands.
    const auto percent = [count](uint32_t i) { return uint64_t(i) * 100 / count; };
    if (progress && (index == 0 || percent(index) != percent(index - 1))) {
        const AString text = AString("Loading iPod Song Data... ") + AString::FromUInt(index + 1) + " of " +
                             AString::FromUInt(count);
        progress->SetPos(static_cast<double>(index) / count, &text);
    }
    return 0;
}
