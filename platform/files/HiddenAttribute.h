#pragma once
// The "hidden" attribute of a file or folder on a FAT volume, as an iPod's drive is formatted: the
// iPod's music folders have fixed names, so they cannot hide behind a leading dot.

#include <string>

namespace nativefiles {

enum class HiddenOutcome {
    Done,          // the attribute is as asked, or the filesystem has no such attribute
    CannotRead,    // the path cannot be opened or its attributes read
    CannotChange,  // the attributes could not be written
};

HiddenOutcome SetHiddenAttribute(const std::string& path, bool hidden);

} // namespace nativefiles
