#include "library/tools/LibraryTools.h"

#include "library/songlists/ADirSong.h"
#include "library/tools/AlbumArtScan.h"
#include "library/tools/DisconnectedFileScan.h"
#include "library/tools/DuplicateScan.h"
#include "library/tools/NotOwnedScan.h"
#include "library/tools/OrphanScan.h"
#include "library/tools/ToolRun.h"

namespace {

constexpr double kFolderReadShare = 0.5;

constexpr ToolDescription kRemoveDuplicates{kToolRemoveDuplicates, "Scanning for Duplicates...",
                                            "No Duplicates Detected!", "Error Finding Duplicates!",
                                            "User cancelled."};
// The orphan scan records no error; only a cancel ends it early.
constexpr ToolDescription kRemoveOrphans{kToolRemoveOrphans, "Scanning for Orphans...",
                                         "No Orphans Detected!", "", "User cancelled."};
constexpr ToolDescription kRemoveMusicNotOwned{kToolRemoveMusicNotOwned, "Scanning for Unauthorized Music...",
                                               "No Unowned Music Files Detected!",
                                               "Error Deleting Music Not Owned!", "User cancelled."};
constexpr ToolDescription kAddDisconnectedFiles{kToolAddDisconnectedFiles,
                                                "Scanning for Songs...",
                                                "No Disconnected Files Detected!",
                                                "Error Scanning For Disconnected Files!",
                                                "User Cancelled.",
                                                kFolderReadShare};
constexpr ToolDescription kRemoveDisconnectedFiles{kToolRemoveDisconnectedFiles,
                                                   "Scanning for Songs...",
                                                   "No Disconnected Files Detected!",
                                                   "Error Scanning For Disconnected Files!",
                                                   "User Cancelled.",
                                                   kFolderReadShare};
constexpr ToolDescription kSaveAlbumArt{kToolSaveAlbumArt, "Scanning for MP3 Files with Linked Artwork...",
                                        "No Linked Artwork Detected!", "Error Adding Artwork to Files!",
                                        "User cancelled."};

template <typename Scan>
int RunTool(ADirSong& source, const ToolDescription& tool, const CancelCallback& callback, uint32_t verbose) {
    Scan scan;
    return ToolRun(source, tool, callback, verbose).Run(scan);
}

} // namespace

LibraryTools& LibraryTools::Instance() {
    static LibraryTools tools;
    return tools;
}

void LibraryTools::Install() {
    ADirSong::SetLibraryTools(&Instance());
}

int LibraryTools::RemoveDuplicates(ADirSong& source, const CancelCallback& callback, uint32_t verbose) {
    return RunTool<DuplicateScan>(source, kRemoveDuplicates, callback, verbose);
}

int LibraryTools::RemoveOrphans(ADirSong& source, const CancelCallback& callback, uint32_t verbose) {
    return RunTool<OrphanScan>(source, kRemoveOrphans, callback, verbose);
}

int LibraryTools::RemoveMusicNotOwned(ADirSong& source, const CancelCallback& callback, uint32_t verbose) {
    return RunTool<NotOwnedScan>(source, kRemoveMusicNotOwned, callback, verbose);
}

int LibraryTools::ScanDisconnectedFiles(ADirSong& source, uint32_t addMode, const CancelCallback& callback,
                                        uint32_t verbose) {
    const ToolDescription& tool = addMode ? kAddDisconnectedFiles : kRemoveDisconnectedFiles;
    return RunTool<DisconnectedFileScan>(source, tool, callback, verbose);
}

int LibraryTools::SaveAlbumArt(ADirSong& source, const CancelCallback& callback, uint32_t verbose) {
    return RunTool<AlbumArtScan>(source, kSaveAlbumArt, callback, verbose);
}
