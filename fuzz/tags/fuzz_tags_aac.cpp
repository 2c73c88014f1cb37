// The ID3v2 reader and the ADTS frame walk over any bytes, read from the file "song.aac".
#include "SongFileFolder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsong::ReadAsSong("song.aac", data, size);
    return 0;
}
