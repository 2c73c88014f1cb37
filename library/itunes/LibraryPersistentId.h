#pragma once
// The id of this computer's library, as the library file "iTunes/iTunes Music Library.xml" of the
// user's music folder names it on its "Library Persistent ID" line. The iPod keeps it as two words: the
// first eight hex digits are the low word, the rest the high word. Each caller reports the failures
// under its own result codes.

#include <cstdint>

struct LibraryIdCodes {
    int noMusicHome; // the user has no music folder
    int noIdStart;   // the id line has no "<string>"
    int noIdEnd;     // ... no "</string>"
    int badId;       // ... not 1 to 16 hex digits between them
};

class LibraryPersistentId {
public:
    // 0, a code of `codes`, or the open or read failure of the library file (a file without the line
    // ends in its end-of-file code).
    static int Read(const LibraryIdCodes& codes, uint64_t& id);
};
