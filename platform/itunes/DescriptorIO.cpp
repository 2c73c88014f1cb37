#include "platform/itunes/DescriptorIO.h"

#include <cerrno>
#include <unistd.h>

namespace itunesapp {
namespace {

constexpr size_t kReadChunk = 1 << 16;

} // namespace

bool ReadToEnd(int descriptor, std::string& text) {
    char buffer[kReadChunk];
    for (;;) {
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        text.append(buffer, static_cast<size_t>(got));
    }
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = write(descriptor, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

} // namespace itunesapp
