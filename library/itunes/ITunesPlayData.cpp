#include "library/itunes/ITunesPlayData.h"

#include "foundation/SlashFields.h"
#include "library/entries/FileNameRule.h"

namespace {

constexpr int kWordBits = 32;

AString KeyText(const AString& text) {
    return text.IsEmpty() ? AString("*") : text;
}

} // namespace

ITunesPlayData ITunesPlayData::FromKey(const AString& key) {
    ITunesPlayData data;
    if (!key.IsEmpty()) {
        uint64_t low = 0;
        int high = 0;
        ParseSlashFields(data.playedCount, low, high, data.rating, data.comment, data.equalizer, key);
        data.playedTime = (uint64_t{static_cast<uint32_t>(high)} << kWordBits) | static_cast<uint32_t>(low);
    }
    return data;
}

AString ITunesPlayData::ToKey() const {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(playedTime));
    const auto high = static_cast<int32_t>(static_cast<uint32_t>(playedTime >> kWordBits));
    return AString("/") + AString::FromInt(playedCount) + "/" + AString::FromInt(low) + "_" +
           AString::FromInt(high) + "/" + AString::FromInt(rating) + "/" +
           KeyText(SanitizedFileName(comment, u'_', false)) + "/" + KeyText(equalizer);
}
