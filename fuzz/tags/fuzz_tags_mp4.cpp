// The MP4 atom walk and items over any bytes, as a file named "song.m4a".
#include "foundation/AMemFile.h"
#include "library/tags/SongFields.h"
#include "library/tags/SongFileReader.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > std::numeric_limits<uint32_t>::max())
        return 0;
    AMemFile stream(data, static_cast<uint32_t>(size));
    SongFields tags;
    SongFileReader::Read(tags, stream, AString("song.m4a"));
    return 0;
}
