#include "library/tools/DisconnectedFileScan.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirSong.h"
#include "library/tools/FolderLetterCase.h"
#include "library/tools/SongPathIndex.h"
#include "library/tools/ToolRun.h"

#include <algorithm>

namespace {

// The song types and the video and game types that a library's music folder holds as well.
constexpr const char* kFoundFileTypes = ":mp3:m4p:m4a:m4b:aac:m4v:mp4:ipg:";
constexpr uint64_t kSmallestSongFile = 100;
constexpr int kProgressShowings = 100;

} // namespace

AString DisconnectedFileScan::FolderToScan(ADirSong& source) {
    AString folder;
    source.GetMusicFolder(folder);
    const uint32_t type = source.GetType();
    if (!folder.IsEmpty() && (type == ADir::kTypePod || type == ADir::kTypePodDB)) {
        folder.AppendPath("iPod_Control");
        folder.AppendPath("Music");
    }
    return folder;
}

bool DisconnectedFileScan::IsSongSizedFile(const AString& path) {
    return FileExists(path) && GetFileSize64(path) >= kSmallestSongFile;
}

// An error of reading the folder is asked about before each file and ends the scan in the end: a
// folder read in part must not offer its files as disconnected.
int DisconnectedFileScan::Run(ToolRun& run) {
    ADirSong& source = run.Source();
    AProgress& progress = run.Progress();
    const AString musicFolder = FolderToScan(source);
    ADir folder(&progress);
    folder.SetFlags(SongFilter::kKeepListed);
    folder.SetTypeList(AString(kFoundFileTypes));
    folder.SetScanReadsFileInfo(false);
    const int error =
        musicFolder.IsEmpty() ? kErrorInvalidPath : folder.Open(&musicFolder, 1, run.Callback());
    progress.PopRange();
    const AString processing("Processing List of Songs...");
    progress.PushRange(0.5, &processing);
    if (error == kUserCancel)
        return error;
    SongPathIndex songs(FolderFoldsLetterCase(musicFolder));
    if (const int result = songs.Build(source, run.Callback()))
        return result;
    const int count = folder.GetCount();
    // The bar moves by a percent at the most between two showings; each costs as much as a file.
    const int showEvery = std::max(1, count / kProgressShowings);
    for (int i = 0; i < count; ++i) {
        if (error != 0 && source.AskQuitAfterError())
            return error;
        const AString& file = *folder.GetEntry(i);
        if ((i + 1) % showEvery == 0 || i + 1 == count) {
            const AString step = AString("Processing #") + AString::FromInt(i + 1);
            progress.SetPos(double(i + 1) / count, nullptr, &step);
        }
        // Only a file no song names needs a look at the disk; the folders listed beside the files
        // mostly fail the type filter before that.
        if (!songs.IsConnected(file) && folder.PassesTypeFilter(file) && IsSongSizedFile(file))
            run.AddFileRow(file);
        if (run.Cancelled())
            return kUserCancel;
    }
    return error;
}
