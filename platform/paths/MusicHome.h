#pragma once

#include <string>

namespace nativepaths {

// The user's music folder: $XDG_MUSIC_DIR, else the XDG_MUSIC_DIR line of ~/.config/user-dirs.dirs,
// else ~/Music; empty when there is no home folder.
std::string MusicHome();

} // namespace nativepaths
