// The ID3v1, ID3v2 and MPEG frame readers over any bytes, read from the file "song.mp3".
#include "SongFileFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsong::ReadAsSong("song.mp3", data, size);
    return 0;
}
