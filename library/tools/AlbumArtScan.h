#pragma once
// The scan of the album-art tool: mp3 songs for which the library holds artwork while their file's tag
// holds no picture.

#include "library/tools/ToolScan.h"

class AlbumArtScan : public ToolScan {
public:
    // Entries that fail are logged and passed over; the error of the last one is the scan's result.
    int Run(ToolRun& run) override;

private:
    // The result of the last step the entry reached; a row is appended when it qualifies.
    static int ScanEntry(ToolRun& run, int index, int count);
};
