#pragma once
// The result codes that only the song sync, the playlist sync and the sync set give, each number once.
// They have no text of their own in the error-text table: a caller's line reads the code.

// The song sync's checks before it writes into an iPod
constexpr int kErrorPodVolumeNotFound = -10;
constexpr int kErrorNoMusicHome = -15036;        // no music folder of the user to find the library in
constexpr int kErrorNoLibraryIdStart = -15037;   // the library id line has no "<string>"
constexpr int kErrorNoLibraryIdEnd = -15038;     // ... no "</string>", or no hexadecimal id between
constexpr int kErrorPodPrefsUnreadable = -15093; // Directory 2's iPod preferences
// The iPod belongs to another computer's library, and the stage that met it may not ask the user.
constexpr int kErrorPodMarried = -15091;

// The sync set
constexpr int kErrorNoSyncAtIndex = -15092;

// The playlist sync
constexpr int kErrorPlayListActionCode = -15094;
constexpr int kErrorNoPlayListList2 = -15095;
constexpr int kErrorNoPlayListList1 = -15096;
constexpr int kErrorPlayListUnderNoRoot = -15097;
constexpr int kErrorPlayListNoOwner = -15098;
