#pragma once
// The library tools of a song list. They live in the layer above the song lists, which call them
// through this interface: the tools layer registers its implementation (ADirSong::SetLibraryTools).

#include "foundation/CancelCallback.h"

#include <cstdint>

class ADirSong;

class SongListTools {
public:
    virtual ~SongListTools() = default;
    // Each answers 0, 123456 when cancelled or not confirmed, -102390 when the list is busy, or the
    // error that ended it.
    virtual int RemoveDuplicates(ADirSong& source, const CancelCallback& callback, uint32_t verbose) = 0;
    virtual int RemoveOrphans(ADirSong& source, const CancelCallback& callback, uint32_t verbose) = 0;
    virtual int RemoveMusicNotOwned(ADirSong& source, const CancelCallback& callback, uint32_t verbose) = 0;
    virtual int ScanDisconnectedFiles(ADirSong& source, uint32_t addMode, const CancelCallback& callback,
                                      uint32_t verbose) = 0;
    virtual int SaveAlbumArt(ADirSong& source, const CancelCallback& callback, uint32_t verbose) = 0;
};
