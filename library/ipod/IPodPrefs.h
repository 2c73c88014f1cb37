#pragma once
// The iPod's own "iTunesPrefs" file: as both programs prepare an iPod for syncing, its automatic
// update is turned off when the program manages iPods of its family (Shuffles or the others), and it
// is marked in every case; it names the library the iPod belongs to. The file is changed in place,
// never made, lengthened or reached through a link, and only on the iPod's own volume.

#include "foundation/AString.h"

#include <cstdint>

class IPodPrefs {
public:
    static constexpr const char* kFile = "iPod_Control/iTunes/iTunesPrefs";
    static constexpr uint64_t kAutoUpdateOffset = 10;
    static constexpr uint64_t kSyncedOffset = 31;
    static constexpr uint64_t kLibraryIdOffset = 12; // 64 bits, least significant byte first

    // The file of the iPod at `root`.
    static AString PathOf(const AString& root);
    // 0, or the code of the check, open, read or write that failed.
    static int PrepareForSync(const AString& root, bool manageIPods, bool manageShuffles);
    // The id of the library the iPod belongs to (0: none, also without the file): 0, or the open or
    // read failure.
    static int ReadLibraryId(const AString& root, uint64_t& id);
    // Bit 0 of the automatic-update byte: 1 = the iPod updates itself (0 without the file). 0, or the
    // open or read failure.
    static int ReadAutoUpdate(const AString& root, uint32_t& flag);
    // 0, -11160 without the file, -11166 for a file too short to hold the id, or the failing open or
    // write.
    static int WriteLibraryId(const AString& root, uint64_t id);
};
