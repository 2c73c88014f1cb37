// The tag writer over any mp3 bytes: the song is written into a file of a private folder and a
// picture put into its tag.
#include "library/tags/ID3.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0xFF, 0x00, 0xFF, 0xD9};

std::string g_folder;
std::string g_song;

void RemoveFolder() {
    std::remove(g_song.c_str());
    std::remove(g_folder.c_str());
}

const std::string& SongPath() {
    if (g_song.empty()) {
        char folder[] = "/tmp/fuzz_tags_writer_XXXXXX";
        if (!mkdtemp(folder))
            std::abort();
        g_folder = folder;
        g_song = g_folder + "/song.mp3";
        std::atexit(RemoveFolder);
    }
    return g_song;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = SongPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    ID3 tags;
    tags.Read(AString(path));
    tags.Write(kJpeg, sizeof kJpeg, false, nullptr);
    return 0;
}
