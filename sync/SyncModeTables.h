#pragma once
// The six ways to sync a pair, by name, and for each what happens on each side, in the wording for an
// iPod as side 2 and for a remote library as side 2. A sync does not store its mode: it follows from
// the direction and the delete mode.

#include <cstdint>

enum SyncMode : int {
    kModeSync = 0,
    kModeMerge = 1,
    kModeCopy1To2 = 2,
    kModeCopy2To1 = 3,
    kModeMake2Equal1 = 4,
    kModeMake1Equal2 = 5,
    kModeNone = 6,
};

constexpr int kSyncModeNameCount = 6;
constexpr int kSyncModeSideTextCount = 8;

SyncMode SyncModeOf(uint32_t direction, uint32_t deleteMode);
// The direction and delete mode of a mode 0-5; false for any other.
bool SyncModeSettings(int mode, uint32_t& direction, uint32_t& deleteMode);
// Null outside 0-5.
const char* SyncModeName(int mode, bool remote);
// What happens on side 1 (the local library) or side 2; null outside 0-7, empty for 7.
const char* SyncModeSide1Text(int mode, bool remote);
const char* SyncModeSide2Text(int mode, bool remote);
