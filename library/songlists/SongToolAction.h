#pragma once
// One row of a library tool's action list. A tool fills the rows, the list is shown for confirmation
// (the user may clear `checked` and, for duplicates, choose another copy to keep), then the checked
// rows are performed. The song list that was scanned owns its rows.

#include "foundation/AString.h"

#include <cstdint>
#include <memory>
#include <vector>

// The tool that made a row, and so what performing it does.
enum SongToolKind : uint32_t {
    kToolAddSongFiles = 0,
    kToolAddDisconnectedFiles = 1,
    kToolRemoveDisconnectedFiles = 2,
    kToolRemoveDuplicates = 3,
    kToolRemoveMusicNotOwned = 4,
    kToolRemoveOrphans = 5,
    kToolSaveAlbumArt = 6,
    // The dialog mode of a sync's list of songs to add; no tool row has it.
    kToolAddSongsList = 7,
};

struct SongToolAction {
    uint32_t checked = 1;
    uint32_t kind = kToolAddSongFiles;
    // The song's entry text, or for disconnected files the full path of the disk file.
    AString entry;
    AString displayText;
    // Duplicates: the row of the group that is kept; null for the kept row itself.
    SongToolAction* keptRow = nullptr;
    uint32_t group = 0; // duplicates: counted from 1
    // Music not owned: the account of the song's tag; album art: the full path of the music file.
    AString detail;
    uint32_t keep = 0;       // duplicates: 1 for the kept copy of its group
    uint32_t entryIndex = 0; // duplicates: the entry's index in the sorted list
    AString fullPath;        // duplicates: the song's file
    // The file's information, shown by the duplicates dialog.
    uint64_t fileDate = 0; // seconds since 1904
    uint64_t fileSize = 0;
    uint32_t duration = 0; // seconds
    uint32_t bitRate = 0;  // kbit/s
    AString accountName;
    uint32_t hasPictures = 0;
    // The colour in which the duplicates dialog shows the row: kept apart from every field above, so
    // that showing a row never changes what performing it does.
    uint32_t shade = 0;
};

using SongToolActions = std::vector<std::unique_ptr<SongToolAction>>;

// Makes the row at `index` the kept copy of its duplicate group: every other row of the group points to
// it. The rows of a group stand together.
void MakeKeptRow(SongToolActions& rows, size_t index);

// "Remove Orphans " and the like, with the side of the list ("From iTunes - Entries to Remove" for the
// iTunes library, "From iPod - ..." for an iPod); for any other list the title keeps its blank.
AString ToolActionListTitle(uint32_t kind, uint32_t sourceType);

// The action names of the add-songs list (kinds 0 and 7), in the order of the sync's action codes.
const std::vector<AString>& AddSongActionNames();
