// Any bytes given to the stand-in's library-file reader give a library or a refusal. A library that
// reads is written; what was written reads again and is written to the same text.
#include "platform/itunes/LibraryFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr int64_t kSavedAt = 1214913600;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    itunesapp::LibraryHeader header;
    itunesapp::MediaModel model;
    std::string problem;
    if (!itunesapp::ReadLibraryText(text, header, model, problem))
        return 0;
    const std::string written = itunesapp::WriteLibraryText(header, model, kSavedAt);
    std::string again = written;
    itunesapp::LibraryHeader headerAgain;
    itunesapp::MediaModel modelAgain;
    if (!itunesapp::ReadLibraryText(again, headerAgain, modelAgain, problem) ||
        itunesapp::WriteLibraryText(headerAgain, modelAgain, kSavedAt) != written)
        std::abort();
    return 0;
}
