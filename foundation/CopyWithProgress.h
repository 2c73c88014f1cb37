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

// When a local copy's data must be on the disk. A copy over an existing file is always synced before it
// takes the file's name: the old file must not be lost to a crash. A new file may wait for the
// writer's flush of its whole volume (FlushVolume), which it does before it records the copy: one
// flush for a run of copies costs far less than one for each.
enum class CopyDurability { SyncedNow, AtVolumeFlush };

// Copies one song file locally or across the remote link, keeping the source's times and mode, and
// verifies the result. Returns 0, 123456 when cancelled, or a negative code; an existing target is
// replaced only by a complete copy.
int CopyWithProgress(const AString& source, const AString& target, const CancelCallback& cancel,
                     AProgress* progress, bool force, CopyDurability durability = CopyDurability::SyncedNow);

// Writes everything written to the volume that holds `path` onto the disk: 0, or -15045.
int FlushVolume(const AString& path);
