#pragma once
// Adding song files to the local library or the iPod: the work of one run on the worker. Folders
// among the chosen entries become the song files below them; then a one-way song sync from a song
// folder list of the chosen files into the target adds what the target lacks, through the add list
// the user confirms. The run posts nothing: it answers its result, which the window posts in its
// end message.

#include "app/commands/SongFileSelection.h"
#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "sync/ASync.h"

#include <memory>

class ADir;
class ADirSongDir;
class AProgress;
class ASyncLib;

class AddSongFilesRun {
public:
    static constexpr const char* kAppendingText = "Appending list of files.";

    struct Result {
        // 0, 123456 when cancelled or not confirmed, or the first failure (of the folder scan too).
        int result = 0;
        // The song files the run offered to the target.
        int count = 0;
    };

    // The target is a side of the set's first sync (Directory 1 the library, Directory 2 the iPod),
    // which lends the run its options; it must outlive the run and stay unchanged while it works.
    // `fileTypes`, the colon list the file dialog offers for the target, chooses the files of folders.
    AddSongFilesRun(ASyncLib& first, ASync::Side target, SongFileSelection selection, AString fileTypes,
                    AProgress& progress);

    // On the worker. The target's type-filter flags and path-filter mode are off for the run and
    // back as they were after it, on every road.
    Result Run(const CancelCallback& cancel);

    // Puts the files of those types below each folder entry in the folder's place; without `expand`
    // a folder entry is only removed. 0, 123456 when cancelled, or the scan's code: the selection is
    // then left as it was.
    static int ExpandFolderEntries(SongFileSelection& selection, bool expand, const AString& fileTypes,
                                   const CancelCallback& cancel, AProgress& progress);

private:
    int FillFileList(ADirSongDir& files, const CancelCallback& cancel) const;
    int RunSync(std::shared_ptr<ADirSongDir> files, const CancelCallback& cancel) const;

    ASyncLib& m_first;
    ASync::Side m_side;
    std::shared_ptr<ADir> m_target;
    SongFileSelection m_selection;
    AString m_fileTypes;
    AProgress& m_progress;
};
