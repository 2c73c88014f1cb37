// The ID3v1, ID3v2 and MPEG frame readers over any bytes, as a file named "song.mp3".
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
    SongFileReader::Read(tags, stream, AString("song.mp3"));
    return 0;
}
