#pragma once
// How a chunk tree is being read: names mode (headers and playlist names only) or library mode (tracks,
// and with the flag the playlists with their items), with the optional cancel test and progress.

#include "foundation/CancelCallback.h"
#include "library/ipod/ITunesDBChunkFrame.h"

class AProgress;

struct ITunesDBReadContext {
    bool namesMode = false;
    bool withPlayLists = false;
    CancelCallback cancel;
    AProgress* progress = nullptr;

    bool CancelRequested() const { return cancel && cancel() != 0; }
    // The codes of a chunk: the first pair in library mode, the second in names mode.
    ITunesDBChunkCodes Codes(int wrongTag, int noMemory, int wrongTagNames, int noMemoryNames) const {
        return namesMode ? ITunesDBChunkCodes{wrongTagNames, wrongTagNames, noMemoryNames}
                         : ITunesDBChunkCodes{wrongTag, wrongTag, noMemory};
    }
};
