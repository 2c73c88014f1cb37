#pragma once

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <cstdint>

class AProgress;

// Files below this size are copied in one step, without progress.
constexpr uint64_t kChunkedCopyThreshold = 10485760;
constexpr uint64_t kCopyChunkSize = 102400;

// Copies one song file locally or across the remote link, keeping the source's times and mode, and
// verifies the result. Returns 0, 123456 when cancelled, or a negative code; an existing target is
// replaced only by a complete copy.
int CopyWithProgress(const AString& source, const AString& target, const CancelCallback& cancel,
                     AProgress* progress, bool force);
