#pragma once
// The file URLs of the library file ("Music Folder", a track's "Location"): "file://localhost" and the
// path with every byte other than letters, digits, "-._~" and "/" written as %XX, so that a line reader
// of the file finds neither "&" nor "<" in them.

#include <string>
#include <string_view>

namespace itunesapp {

std::string FileUrlFromPath(std::string_view path);
// The absolute path of "file://localhost/..." or "file:///...", each %XX decoded once ("%2541" gives
// "%41"); false for any other text.
bool PathFromFileUrl(std::string_view url, std::string& path);

} // namespace itunesapp
