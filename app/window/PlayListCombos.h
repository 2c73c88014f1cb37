#pragma once
// The two playlist combos: the library's playlists on the left, the chosen device's on the right.
// Each starts with the main library and ends with "New playlist..."; "Last Sync" is never listed.

#include "foundation/AString.h"

#include <QString>
#include <vector>

class SeparatorComboBox;

class PlayListCombos {
public:
    static constexpr int kNewPlayListData = 2;
    static constexpr const char* kMainLibrary = "Main Library";
    static constexpr const char* kPodMainLibrary = "iPod Main Library";
    static constexpr const char* kNewPlayList = "New playlist...";
    static constexpr const char* kLastSync = "Last Sync";

    // The names a combo lists between its first and last entry: "Last Sync" left out.
    static std::vector<QString> Listed(const std::vector<AString>& names);
    // Whether the combo holds exactly `first`, the names (ignoring case) and "New playlist...".
    static bool Holds(const SeparatorComboBox& combo, const std::vector<QString>& names);
    // Fills the combo with `first`, the names and "New playlist...", and selects the entry named
    // `current` (ignoring case), else entry 0. A combo that holds these entries already only has its
    // selection follow, so it does not flicker.
    static void Fill(SeparatorComboBox& combo, const QString& first, const std::vector<QString>& names,
                     const QString& current);
    // Empties the combo and adds the main library's entry for a device, selecting nothing.
    static void Reset(SeparatorComboBox& combo, const QString& first);
    static void AppendNewPlayList(SeparatorComboBox& combo);
};
