#include "platform/paths/MusicHome.h"

#include <cstdlib>
#include <fstream>

namespace nativepaths {
namespace {

constexpr const char* kVariable = "XDG_MUSIC_DIR";

// The value of `XDG_MUSIC_DIR="$HOME/Music"` in the user-dirs file, with $HOME put in.
std::string FromUserDirsFile(const std::string& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config = (configHome && configHome[0] == '/') ? configHome : home + "/.config";
    std::ifstream file(config + "/user-dirs.dirs");
    for (std::string line; std::getline(file, line);) {
        const std::string prefix = std::string(kVariable) + "=\"";
        if (!line.starts_with(prefix) || line.back() != '"')
            continue;
        std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (value.starts_with("$HOME"))
            value = home + value.substr(5);
        if (value.starts_with('/'))
            return value;
    }
    return {};
}

} // namespace

std::string MusicHome() {
    const char* music = std::getenv(kVariable);
    if (music && music[0] == '/')
        return music;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return {};
    const std::string fromFile = FromUserDirsFile(home);
    return fromFile.empty() ? std::string(home) + "/Music" : fromFile;
}

} // namespace nativepaths
