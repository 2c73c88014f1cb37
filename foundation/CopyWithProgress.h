#pragma once

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <cstdint>

class AProgress;

// Files below this size are copied in one step, without progress.
constexpr uint64_t kChunkedCopyThreshold = 10485760;
// Progress and cancel are served after every chunk. Smaller chunks cost the kernel a call each and
// left the copy well behind `cp`; a chunk of this size still answers a cancel within milliseconds.
constexpr uint64_t kCopyChunkSize = 1048576;

// Copies one song file locally or across the remote link, keeping the source's times and mode, and
// verifies the result. Returns 0, 123456 when cancelled, or a negative code; an existing target is
// replaced only by a complete copy.
int CopyWithProgress(const AString& source, const AString& target, const CancelCallback& cancel,
                     AProgress* progress, bool force);
