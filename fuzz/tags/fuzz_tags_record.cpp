// The saved tag record (also the answer of a remote tag read) over any bytes: a record that loads is
// saved, and what was saved loads again to the same values and saves the same bytes.
#include "SongFileFolder.h"
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

// Every value of the saved form.
bool SameRecord(const ID3& a, const ID3& b) {
    AString aPath, bPath;
    a.GetPath(aPath);
    b.GetPath(bPath);
    const SongFields& af = a.GetFields();
    const SongFields& bf = b.GetFields();
    return aPath == bPath && fuzzsong::SameTagFields(af, bf) && af.fileSize == bf.fileSize &&
           af.audioStart == bf.audioStart && af.audioEnd == bf.audioEnd;
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
    if (again.Load(saved) != 0 || !SameRecord(tags, again) || Saved(again) != first)
        std::abort();
    return 0;
}
