#pragma once
// The texts an action list shows for a sync between two named sides, by index: 0-11 the action of each
// display index, 12-21 the "All ... Actions" entries of the first ten, 22-23 empty, 24-31 the changes
// in the order of SyncActionChange.

#include "foundation/AString.h"

#include <array>

struct SyncActionTexts {
    static constexpr int kTextCount = 32;
    static constexpr int kAllTextsStart = 12;
    static constexpr int kChangeTextsStart = 24;

    // Without folder actions (song syncs) the create and delete folder texts stay empty.
    static SyncActionTexts ForSides(const AString& side1, const AString& side2, bool folderActions);
    // "Directory 1" and "Directory 2", as a sync of plain folders shows them.
    static SyncActionTexts ForDirectories();

    AString side1Name;
    AString side2Name;
    std::array<AString, kTextCount> texts;
};
