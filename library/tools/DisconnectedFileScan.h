#pragma once
// The scan of the disconnected-files tool: song files in the library's music folder that no song of
// the list names. The list itself is left as it is.

#include "foundation/AString.h"
#include "library/tools/ToolScan.h"

class ADirSong;

class DisconnectedFileScan : public ToolScan {
public:
    // The first half of the progress reads the music folder, the second compares its files.
    int Run(ToolRun& run) override;

    // The music folder of the list; for an iPod its "iPod_Control/Music" folder. Empty when unknown.
    static AString FolderToScan(ADirSong& source);

private:
    // Tiny files (below 100 bytes) are no songs.
    static bool IsSongSizedFile(const AString& path);
};
