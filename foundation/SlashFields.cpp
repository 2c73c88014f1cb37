#include "foundation/SlashFields.h"

#include <cstdint>
#include <string>

namespace {

AString FieldText(const AString& field) {
    return field.IsChar(u'*') ? AString() : field.Trimmed();
}

// The leading signed decimal number of a field (the keys write their numbers signed); 0 without one.
int64_t LeadingNumber(const AString& field) {
    const std::string text = field.ToUtf8();
    const bool hasSign = !text.empty() && (text[0] == '-' || text[0] == '+');
    uint64_t value = 0;
    for (size_t at = hasSign ? 1 : 0; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = value * 10 + static_cast<uint64_t>(text[at] - '0');
    return static_cast<int64_t>(hasSign && text[0] == '-' ? 0 - value : value);
}

// A low word written as a negative number stands for its unsigned 32-bit pattern.
uint64_t LowWord(int64_t number) {
    return number < 0 ? static_cast<uint32_t>(number) : static_cast<uint64_t>(number);
}

// Splits off the text up to the next "/" (or the end) and moves `rest` past it.
AString NextField(AString& rest) {
    const int slash = rest.Find(u'/');
    if (slash < 0) {
        AString field = rest;
        rest = AString();
        return field;
    }
    AString field = rest.Left(slash);
    rest = rest.Mid(slash + 1);
    return field;
}

} // namespace

void ParseSlashFields(int& a, uint64_t& b, int& c, int& d, AString& text1, AString& text2,
                      const AString& source) {
    a = c = d = 0;
    b = 0;
    text1 = text2 = AString();
    AString rest = source.Mid(1);
    if (rest.IsEmpty())
        return;
    a = static_cast<int>(LeadingNumber(NextField(rest)));
    const AString pair = NextField(rest);
    const int underscore = pair.Find(u'_');
    if (underscore >= 0) {
        b = LowWord(LeadingNumber(pair.Left(underscore)));
        c = static_cast<int>(LeadingNumber(pair.Mid(underscore + 1)));
    }
    d = static_cast<int>(LeadingNumber(NextField(rest)));
    text1 = FieldText(NextField(rest));
    text2 = FieldText(rest);
}
