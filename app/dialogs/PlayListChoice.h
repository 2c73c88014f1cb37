#pragma once
// One playlist of the playlist selection as the selection dialog shows and edits it: whether it takes
// part, its name, on which sides a playlist of that name exists, and whether its neighbour in the
// selection has the same name (which keeps it from syncing).

#include "foundation/AString.h"

#include <cstdint>

struct PlayListChoice {
    uint32_t selected = 1;
    AString name;
    uint32_t inList1 = 0;
    uint32_t inList2 = 0;
    uint32_t duplicate = 0;
};
