// The user-dirs file is the user's own text: any bytes give the music folder, an absolute path, or
// nothing.
#include "platform/paths/MusicHome.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string folder = nativepaths::MusicFolderInUserDirs(text, "/home/user");
    if (!folder.empty() && folder.front() != '/')
        std::abort();
    return 0;
}
