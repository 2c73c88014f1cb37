// The AIFF container and the ID3v2 tag inside over any bytes, read from the file "song.aiff".
#include "SongFileFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsong::ReadAsSong("song.aiff", data, size);
    return 0;
}
