#include "library/tags/TagNumbers.h"

#include <limits>

namespace {

constexpr uint32_t kLowSixteenBits = 0xFFFF;

uint32_t LeadingNumberFrom(const std::u16string& text, size_t index) {
    while (index < text.size() && text[index] == u' ')
        ++index;
    uint64_t number = 0;
    for (; index < text.size() && text[index] >= u'0' && text[index] <= u'9'; ++index) {
        number = number * 10 + (text[index] - u'0');
        if (number > std::numeric_limits<uint32_t>::max())
            return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(number);
}

} // namespace

uint32_t LeadingNumber(const AString& text) {
    return LeadingNumberFrom(text.GetCString(), 0);
}

uint32_t TrackNumberOf(const AString& text) {
    return LeadingNumber(text) & kLowSixteenBits;
}

void DiscNumbersOf(const AString& text, uint32_t& number, uint32_t& count) {
    number = LeadingNumber(text);
    const int slash = text.Find(u'/');
    if (slash >= 0)
        count = LeadingNumberFrom(text.GetCString(), static_cast<size_t>(slash) + 1);
    number &= kLowSixteenBits;
    count &= kLowSixteenBits;
}
