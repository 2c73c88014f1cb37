#include "remote/PlayDataFlags.h"

namespace {

using Field = bool ITunesPlayDataFields::*;
constexpr std::array<Field, PlayDataFlags::kCount> kWireOrder{
    &ITunesPlayDataFields::playedCount, &ITunesPlayDataFields::playedDate, &ITunesPlayDataFields::rating,
    &ITunesPlayDataFields::comment,     &ITunesPlayDataFields::equalizer,
};

} // namespace

PlayDataFlags::Bytes PlayDataFlags::Write(const ITunesPlayDataFields& fields) {
    Bytes flags{};
    for (size_t i = 0; i < kCount; ++i)
        flags[i] = fields.*kWireOrder[i] ? 1 : 0;
    return flags;
}

ITunesPlayDataFields PlayDataFlags::Read(const Bytes& flags) {
    ITunesPlayDataFields fields;
    for (size_t i = 0; i < kCount; ++i)
        fields.*kWireOrder[i] = flags[i] != 0;
    return fields;
}
