// The MP4 atom walk and items over any bytes, read from the file "song.m4a".
#include "SongFileFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsong::ReadAsSong("song.m4a", data, size);
    return 0;
}
