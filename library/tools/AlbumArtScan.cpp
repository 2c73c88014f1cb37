#include "library/tools/AlbumArtScan.h"

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSong.h"
#include "library/tags/ID3.h"
#include "library/tools/ToolRun.h"

// The error of an entry is asked about before the next one.
int AlbumArtScan::Run(ToolRun& run) {
    ADirSong& source = run.Source();
    const int count = source.GetCount();
    int error = 0;
    for (int i = 0; i < count; ++i) {
        if (error != 0 && source.AskQuitAfterError())
            return error;
        if (run.Cancelled())
            return kUserCancel;
        error = ScanEntry(run, i, count);
    }
    return error;
}

int AlbumArtScan::ScanEntry(ToolRun& run, int index, int count) {
    ADirSong& source = run.Source();
    const AString entry = *source.GetEntry(index);
    run.ShowStep(index + 1, count);
    const double position = double(index + 1) / count;
    AString path;
    if (const int result = source.GetFullPath(entry, path, 1)) {
        run.LogLine(position, AString("Disk path error: ") + entry);
        return result;
    }
    AString extension;
    path.GetExtension(extension);
    if (extension.CompareNoCase("mp3") != 0)
        return 0;
    int artworkCount = 0;
    if (const int result = source.GetArtworkCount(entry, artworkCount)) {
        run.LogLine(position, AString("iTunes request error: ") + entry);
        return result;
    }
    if (artworkCount <= 0)
        return 0;
    ID3 tags;
    if (const int result = tags.Read(path)) {
        run.LogLine(position, AString("Disk path error: ") + entry);
        return result;
    }
    if (tags.GetPictureCount() == 0)
        run.AddSongRow(entry).detail = path;
    return 0;
}
