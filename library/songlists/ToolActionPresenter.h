#pragma once
// Shows an action list for confirmation: the dialogs of the desktop program, or a headless stand-in.
// The rows stay the caller's; the shower may change only what the user may change in the dialogs.

#include "foundation/AString.h"
#include "library/songlists/SongToolAction.h"

#include <cstdint>
#include <vector>

class AArray;
class ADirSong;

struct ToolActionListRequest {
    uint32_t kind = kToolAddSongFiles; // the rows' SongToolKind, or kToolAddSongsList
    AString title;
    ADirSong* source = nullptr; // the list the rows belong to; for an add list, the target
    // A tool's rows: the user may clear `checked`, and in a duplicate group move the keep (MakeKeptRow).
    SongToolActions* rows = nullptr;
    AArray* addActions = nullptr; // a sync's list of songs to add (kind kToolAddSongsList)
    // Kinds 0 and 7: the names of the actions by action code.
    const std::vector<AString>* actionNames = nullptr;
};

class ToolActionPresenter {
public:
    virtual ~ToolActionPresenter() = default;
    // The action list: true when the user confirmed it with OK.
    virtual bool ShowActionList(const ToolActionListRequest& request) = 0;
    // The duplicates list, grouped, with the file information of each copy: true when confirmed.
    virtual bool ShowDuplicatesList(const ToolActionListRequest& request) = 0;
};
