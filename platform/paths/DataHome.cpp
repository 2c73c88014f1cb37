#include "platform/paths/DataHome.h"

#include <cstdlib>

namespace nativepaths {

std::string DataHome() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return dataHome;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return {};
    return std::string(home) + "/.local/share";
}

} // namespace nativepaths
