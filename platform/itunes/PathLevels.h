#pragma once
// Native file paths taken apart and put together at the platform's separator.

#include "platform/files/PathSeparator.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace itunesapp {

// `folder` followed by each level, one separator before each.
std::string JoinPath(std::string_view folder, std::initializer_list<std::string_view> levels);
// The last level of a path (a file's name); a separator at the end is not a level.
std::string_view LastLevel(std::string_view path);
// The extension of the last level, without its dot; empty when the name has none (a dot that begins
// the name does not count). The dots of the folders above never count.
std::string_view ExtensionOfName(std::string_view path);

} // namespace itunesapp
