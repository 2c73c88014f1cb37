#pragma once
// Whole reads and writes on an open file, going on after interrupted calls.

#include <string>
#include <string_view>

namespace itunesapp {

// Appends everything from the descriptor's position to its end; false on a read error.
bool ReadToEnd(int descriptor, std::string& text);
bool WriteAll(int descriptor, std::string_view bytes);

} // namespace itunesapp
