#include "sync/SongKey.h"

#include "foundation/SlashFields.h"

namespace {

constexpr int kWordBits = 32;

AString TextField(const AString& text) {
    return text.IsEmpty() ? AString("*") : text;
}

const AString& FirstNonEmpty(const AString& first, const AString& second) {
    return first.IsEmpty() ? second : first;
}

} // namespace

SongKey SongKey::Parse(const AString& text) {
    SongKey key;
    uint64_t low = 0;
    int high = 0;
    ParseSlashFields(key.playCount, low, high, key.rating, key.comment, key.equalizer, text);
    key.lastPlayed = (static_cast<uint64_t>(static_cast<uint32_t>(high)) << kWordBits) | low;
    return key;
}

AString SongKey::Format() const {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(lastPlayed));
    const auto high = static_cast<int32_t>(static_cast<uint32_t>(lastPlayed >> kWordBits));
    AString text("/");
    text += playCount;
    text += "/";
    text += low;
    text += "_";
    text += high;
    text += "/";
    text += rating;
    text += "/";
    text += TextField(comment);
    text += "/";
    text += TextField(equalizer);
    return text;
}

SongKey SongKey::Merge(const SongKey& side1, const SongKey& side2) {
    SongKey merged;
    merged.playCount = side1.playCount > side2.playCount ? side1.playCount : side2.playCount;
    merged.lastPlayed = side1.lastPlayed > side2.lastPlayed ? side1.lastPlayed : side2.lastPlayed;
    merged.rating = side1.rating != 0 ? side1.rating : side2.rating;
    merged.comment = FirstNonEmpty(side1.comment, side2.comment);
    merged.equalizer = FirstNonEmpty(side1.equalizer, side2.equalizer);
    return merged;
}

uint32_t SongKey::DifferingFields(const SongKey& other, uint32_t mask) const {
    uint32_t fields = 0;
    if (!(comment == other.comment))
        fields |= kComment;
    if (playCount != other.playCount)
        fields |= kPlayCount;
    if (rating != other.rating)
        fields |= kRating;
    if (!(equalizer == other.equalizer))
        fields |= kEqualizer;
    if (lastPlayed != other.lastPlayed)
        fields |= kLastPlayed;
    return fields & mask;
}
