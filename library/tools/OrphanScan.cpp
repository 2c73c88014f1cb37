#include "library/tools/OrphanScan.h"

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSong.h"
#include "library/tools/SongFileChecks.h"
#include "library/tools/ToolRun.h"

int OrphanScan::Run(ToolRun& run) {
    ADirSong& source = run.Source();
    for (int i = 0; i < source.GetCount(); ++i) {
        const AString entry = *source.GetEntry(i);
        run.ShowStep(i + 1, source.GetCount());
        if (!UsableSongPath(source, entry).usable)
            run.AddSongRow(entry);
        if (run.Cancelled())
            return kUserCancel;
    }
    return 0;
}
