#pragma once
// The result codes that only the song sync, the playlist sync and the sync set give, each number once.
// They have no text of their own in the error-text table: a caller's line reads the code.

// The codes of the song sync's checks before it writes into an iPod have texts: they are in
// foundation/ErrorCodes.h.

// The sync set
constexpr int kErrorNoSyncAtIndex = -15092;

// The playlist sync
constexpr int kErrorPlayListActionCode = -15094;
constexpr int kErrorNoPlayListList2 = -15095;
constexpr int kErrorNoPlayListList1 = -15096;
constexpr int kErrorPlayListUnderNoRoot = -15097;
constexpr int kErrorPlayListNoOwner = -15098;
