#pragma once
// The library tools of every song list: each runs its scan in the common frame (ToolRun), shows what it
// found for confirmation and performs the confirmed rows. The song lists reach them through
// SongListTools once they are installed.

#include "library/songlists/SongListTools.h"

class LibraryTools : public SongListTools {
public:
    static LibraryTools& Instance();
    // Makes these the tools of every song list of the process.
    static void Install();

    int RemoveDuplicates(ADirSong& source, const CancelCallback& callback, uint32_t verbose) override;
    int RemoveOrphans(ADirSong& source, const CancelCallback& callback, uint32_t verbose) override;
    int RemoveMusicNotOwned(ADirSong& source, const CancelCallback& callback, uint32_t verbose) override;
    // Add mode offers the files to the library, remove mode deletes them.
    int ScanDisconnectedFiles(ADirSong& source, uint32_t addMode, const CancelCallback& callback,
                              uint32_t verbose) override;
    int SaveAlbumArt(ADirSong& source, const CancelCallback& callback, uint32_t verbose) override;
};
