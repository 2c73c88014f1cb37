#pragma once

#include <string>

namespace nativepaths {

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share; empty when
// neither can be had.
std::string DataHome();

} // namespace nativepaths
