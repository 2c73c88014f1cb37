#pragma once
// The names of the groups of rows that the action lists check or clear at once from their context
// menus. Entries 1 to 5 follow the action codes 1 (copy) to 5 (delete folder).

#include <array>

enum ActionFilter : int {
    kFilterSelected = 0,
    kFilterCopies = 1,
    kFilterDeletes = 2,
    kFilterReplaces = 3,
    kFilterCreateFolders = 4,
    kFilterDeleteFolders = 5,
    kFilterAll = 6,
};

constexpr std::array<const char*, 7> kActionFilterNames = {
    "Selected Items",         "All Copy Actions",       "All Delete Actions", "All Replace Actions",
    "All Create Dir Actions", "All Delete Dir Actions", "All Items",
};
