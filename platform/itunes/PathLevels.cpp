#include "platform/itunes/PathLevels.h"

namespace itunesapp {

std::string JoinPath(std::string_view folder, std::initializer_list<std::string_view> levels) {
    std::string path(folder);
    for (const std::string_view level : levels)
        path.append(1, kPathSeparator).append(level);
    return path;
}

std::string_view LastLevel(std::string_view path) {
    while (path.size() > 1 && path.back() == kPathSeparator)
        path.remove_suffix(1);
    const size_t separator = path.find_last_of(kPathSeparator);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view ExtensionOfName(std::string_view path) {
    const std::string_view name = LastLevel(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view() : name.substr(dot + 1);
}

} // namespace itunesapp
