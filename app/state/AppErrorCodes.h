#pragma once
// The result codes of the main program's own steps; the codes of the layers below stay theirs.

constexpr int kErrorDuplicatePodNames = -15247;  // two iPods share a name
constexpr int kErrorUnknownSyncSource = -15248;  // sync 0 is bound to no device or host
constexpr int kErrorSyncSideNotPod = -15249;     // the set's Directory 2 is no iPod
constexpr int kErrorNoSyncSetName = -15250;      // the set's Directory 2 names no device or host
// Linking an iPod database to this computer's library
constexpr int kErrorLinkNoMusicHome = -15174;    // no music folder to find the library file in
constexpr int kErrorLinkNoLibraryId = -15175;    // the id line has no "<string>", or no id of 1 to 16 hex digits
constexpr int kErrorLinkLibraryIdEnd = -15176;   // the id line has no "</string>"
// The library tools
constexpr int kErrorToolNotOnLibrary = -15252;   // an iTunes-side tool whose Directory 1 is no local library
constexpr int kErrorToolNotOnPod = -15253;       // a device-side tool whose Directory 2 is no iPod
constexpr int kErrorToolCode = -15254;           // a tool code outside 1 to 12
