// The saved tag record (also the answer of a remote tag read) over any bytes: a record that loads is
// saved, and what was saved loads again and saves the same bytes.
#include "foundation/AMemFile.h"
#include "library/tags/ID3.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

std::vector<uint8_t> Saved(const ID3& tags) {
    AMemFile stream;
    if (tags.Serialize(stream) != 0)
        std::abort();
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > std::numeric_limits<uint32_t>::max())
        return 0;
    AMemFile stream(data, static_cast<uint32_t>(size));
    ID3 tags;
    if (tags.Load(stream) != 0)
        return 0;
    const std::vector<uint8_t> first = Saved(tags);
    AMemFile saved(first.data(), static_cast<uint32_t>(first.size()));
    ID3 again;
    if (again.Load(saved) != 0 || Saved(again) != first)
        std::abort();
    return 0;
}
