#pragma once
// How a chunk tree is being read: names mode (headers and playlist names only) or library mode (tracks,
// and with the flag the playlists with their items), with the optional cancel test and progress.

#include "foundation/CancelCallback.h"
#include "library/ipod/ITunesDBChunkFrame.h"

#include <cstdint>

class AProgress;
class AString;

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

    // The progress range of a list of tracks or playlist items, when there is a progress object.
    void OpenRange(const AString& text) const;
    void CloseRange(const AString& text) const;
    // Before record `index` (from 0) of `count`: 123456 when the cancel test asks to stop, else 0 once
    // the progress shows the record's number.
    int BeforeRecord(uint32_t index, uint32_t count) const;
};
