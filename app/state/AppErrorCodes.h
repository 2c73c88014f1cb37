#pragma once
// The result codes of the main program's own steps; the codes of the layers below stay theirs.

constexpr int kErrorDuplicatePodNames = -15247;  // two iPods share a name
constexpr int kErrorUnknownSyncSource = -15248;  // sync 0 is bound to no device or host
constexpr int kErrorSyncSideNotPod = -15249;     // the set's Directory 2 is no iPod
constexpr int kErrorNoSyncSetName = -15250;      // the set's Directory 2 names no device or host
