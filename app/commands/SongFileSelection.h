#pragma once
// The song files a user chose or dropped: the deepest folder that holds them all, and each chosen
// file or folder as a path relative to it. Paths from several folders share their deepest common
// folder, so every entry names the very file or folder that was chosen.

#include "foundation/AString.h"

#include <optional>
#include <vector>

struct SongFileSelection {
    AString root;
    std::vector<AString> entries;

    // Absolute local paths (of files or folders); nothing when none is usable. Relative and empty
    // paths are left out.
    static std::optional<SongFileSelection> FromPaths(const std::vector<AString>& paths);
    // The entry's full path.
    AString FullPath(const AString& entry) const;
};
