#include "platform/paths/MusicHome.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace nativepaths {
namespace {

constexpr const char* kVariable = "XDG_MUSIC_DIR";
constexpr std::string_view kHomeVariable = "$HOME";
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The text between the quotes with each backslash escape taken as the character it escapes; none
// when the value is not one quoted text.
bool Unquote(std::string_view value, std::string& text) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return false;
    value = value.substr(1, value.size() - 2);
    text.clear();
    for (size_t at = 0; at < value.size(); ++at) {
        if (value[at] == '"')
            return false;
        if (value[at] == '\\' && at + 1 < value.size())
            ++at;
        text += value[at];
    }
    return true;
}

// "$HOME/yyy" below the home folder, or an absolute "/yyy"; empty for anything else.
std::string FolderOfValue(const std::string& value, const std::string& home) {
    if (value.starts_with('/'))
        return value;
    const std::string_view rest =
        std::string_view(value).substr(std::min(value.size(), kHomeVariable.size()));
    if (!value.starts_with(kHomeVariable) || (!rest.empty() && rest.front() != '/'))
        return {};
    return home + std::string(rest);
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string FromUserDirsFile(const std::string& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config = (configHome && configHome[0] == '/') ? configHome : home + "/.config";
    return MusicFolderInUserDirs(ReadText(config + "/user-dirs.dirs"), home);
}

} // namespace

std::string MusicFolderInUserDirs(std::string_view text, const std::string& home) {
    const std::string prefix = std::string(kVariable) + "=";
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        const std::string_view trimmed = Trimmed(line);
        std::string value;
        if (!trimmed.starts_with(prefix) || !Unquote(trimmed.substr(prefix.size()), value))
            continue;
        if (std::string folder = FolderOfValue(value, home); !folder.empty())
            return folder;
    }
    return {};
}

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
