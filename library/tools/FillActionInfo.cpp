#include "library/tools/FillActionInfo.h"

#include "foundation/FileOps.h"
#include "library/songlists/ADirSong.h"
#include "library/tags/ID3.h"

int FillActionInfo(ADirSong& source, SongToolAction& row) {
    row.accountName = AString();
    row.hasPictures = 0;
    row.fileDate = 0;
    row.fileSize = 0;
    row.duration = 0;
    row.bitRate = 0;
    ID3 tags;
    if (const int result = tags.Read(row.fullPath))
        return result;
    tags.GetAccountName(row.accountName);
    row.hasPictures = tags.GetPictureCount() > 0 ? 1 : 0;
    row.fileSize = tags.GetFileSize();
    row.fileDate = GetFileModTime(row.fullPath);
    row.duration = tags.GetDuration();
    row.bitRate = tags.GetBitRate();
    if (source.GetType() != ADirSong::kTypeSongDir) {
        if (row.duration == 0)
            row.duration = static_cast<uint32_t>(source.GetDuration(row.entry));
        if (row.bitRate == 0)
            row.bitRate = static_cast<uint32_t>(source.GetBitRate(row.entry));
    }
    return 0;
}
