// The saved tag record (also the answer of a remote tag read) over any bytes.
#include "foundation/AMemFile.h"
#include "library/tags/ID3.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > std::numeric_limits<uint32_t>::max())
        return 0;
    AMemFile stream(data, static_cast<uint32_t>(size));
    ID3 tags;
    if (tags.Load(stream) == 0) {
        AMemFile saved;
        tags.Serialize(saved);
    }
    return 0;
}
