// The mount table is written by the kernel but holds names anyone can choose (the labels of volumes):
// any bytes give entries or none. Each entry's mount point and source, escaped as the kernel escapes
// them, read back as themselves.
#include "platform/volumes/MountTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Blanks, tabs, newlines and backslashes as "\" and three octal digits.
std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\\') {
            escaped += c;
            continue;
        }
        char code[5];
        std::snprintf(code, sizeof code, "\\%03o", static_cast<unsigned char>(c));
        escaped += code;
    }
    return escaped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const nativevolumes::MountEntry& entry : nativevolumes::ParseMountTable(text)) {
        if (entry.mountPoint.empty() || entry.source.empty())
            continue;
        const std::string line = "36 22 8:17 / " + Escaped(entry.mountPoint) + " rw shared:1 - vfat " +
                                 Escaped(entry.source) + " rw\n";
        const auto again = nativevolumes::ParseMountTable(line);
        if (again.size() != 1 || !(again[0] == entry))
            std::abort();
    }
    return 0;
}
