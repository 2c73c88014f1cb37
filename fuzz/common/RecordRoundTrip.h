#pragma once
// The check of every record target: what loads saves, loads again whole to the same values and saves
// the same bytes. The values are compared as well as the bytes, since a writer that drops a field the
// same way every time saves the same bytes twice. The first save may differ from the input, since a
// load keeps only what it understands.

#include "foundation/AMemFile.h"

#include <cstdlib>
#include <vector>

namespace fuzzcommon {

inline std::vector<uint8_t> BytesOf(const AMemFile& stream) {
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

// `save(record, stream)` and `load(record, stream)` give 0 on success; `same(a, b)` compares the values
// a record shows.
template <typename Record, typename Save, typename Load, typename Same>
void RequireRoundTrip(Record& loaded, Save save, Load load, Same same) {
    AMemFile first;
    if (save(loaded, first) != 0)
        std::abort();
    Record again;
    AMemFile reader(first.GetBuffer(), first.GetSize());
    if (load(again, reader) != 0 || reader.GetPosition() != first.GetSize() || !same(loaded, again))
        std::abort();
    AMemFile second;
    if (save(again, second) != 0 || BytesOf(second) != BytesOf(first))
        std::abort();
}

} // namespace fuzzcommon
