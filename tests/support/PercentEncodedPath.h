#pragma once
// A path as a file address writes it: every byte but letters, digits, "-._~" and "/" as "%XX". Tests
// build their expected addresses with it, so that they hold whatever the temporary folder is called.

#include <string>

std::string PercentEncodedPath(const std::string& path);
