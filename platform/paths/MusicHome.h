#pragma once

#include <string>
#include <string_view>

namespace nativepaths {

// The user's music folder: $XDG_MUSIC_DIR, else the XDG_MUSIC_DIR line of ~/.config/user-dirs.dirs,
// else ~/Music; empty when there is no home folder.
std::string MusicHome();

// The folder of the XDG_MUSIC_DIR line of a user-dirs file: `XDG_MUSIC_DIR="$HOME/Music"` (with
// `home` put in) or an absolute `"/path"`, shell escapes undone; empty when no line names one.
std::string MusicFolderInUserDirs(std::string_view text, const std::string& home);

} // namespace nativepaths
