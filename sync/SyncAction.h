#pragma once
// One step of a sync: copy, replace or delete a file, create or delete a folder, or a pair the engine
// left undecided. The sync creates its actions, the action list shows and edits them, and the perform
// loop carries out the enabled ones in list order.

#include "foundation/AString.h"

#include <cstdint>

enum SyncActionCode : uint32_t {
    kActionCopy = 1,
    kActionDelete = 2,
    kActionReplace = 3,
    kActionCreateFolder = 4,
    kActionDeleteFolder = 5,
    kActionUndefined = 6,
    kActionNone = 7,
};

// What the action list shows for an action: even indexes act towards (or delete from) Directory 1.
enum SyncDisplayIndex : uint32_t {
    kCopyTo1 = 0,
    kCopyTo2 = 1,
    kDeleteFrom1 = 2,
    kDeleteFrom2 = 3,
    kReplaceIn1 = 4,
    kReplaceIn2 = 5,
    kCreateFolderIn1 = 6,
    kCreateFolderIn2 = 7,
    kDeleteFolderFrom1 = 8,
    kDeleteFolderFrom2 = 9,
    kUndefinedPair = 10,
    kNoActionPair = 11,
};

// The changes the action list offers; each applies only to actions of one display index.
enum SyncActionChange : int {
    kChangeCopyTo1ToDelete = 0,
    kChangeCopyTo2ToDelete = 1,
    kChangeDeleteFrom1ToCopy = 2,
    kChangeDeleteFrom2ToCopy = 3,
    kChangeReplaceIn1ToReplaceIn2 = 4,
    kChangeReplaceIn2ToReplaceIn1 = 5,
    kChangeUndefinedToReplaceIn2 = 6,
    kChangeUndefinedToReplaceIn1 = 7,
};

struct SyncAction {
    uint32_t enabled = 1;
    uint32_t code = kActionNone;
    // Copy, replace, create folder: source; the two deletes: what goes; undefined, no action: first path.
    AString pathA;
    // Copy, replace, create folder: target; empty for the deletes; undefined, no action: second path.
    AString pathB;
    // A copy over an existing target is confirmed first; 1 for the deletes and undecided pairs.
    uint32_t targetExists = 0;
    uint32_t onSide2 = 0; // pathA lies in Directory 2
    uint32_t onSide1 = 0; // pathA lies in Directory 1
    uint32_t displayIndex = kNoActionPair;
    AString text1; // the Directory 1 column
    AString text2; // the Directory 2 column
    // A replace that copies the song's play data instead of the file.
    uint32_t fieldsOnly = 0;
};
