#include "foundation/SlashFields.h"

#include <string>

namespace {

AString FieldText(const AString& field) {
    AString text = field.IsChar(u'*') ? AString() : field;
    text.Trim();
    return text;
}

uint64_t LeadingNumber(const AString& field) {
    const std::string digits = field.ToUtf8();
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
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
    const bool hasFields = !rest.IsEmpty();
    if (!hasFields)
        return;
    a = static_cast<int>(LeadingNumber(NextField(rest)));
    const AString pair = NextField(rest);
    const int underscore = pair.Find(u'_');
    if (underscore >= 0) {
        b = LeadingNumber(pair.Left(underscore));
        c = static_cast<int>(LeadingNumber(pair.Mid(underscore + 1)));
    }
    d = static_cast<int>(LeadingNumber(NextField(rest)));
    text1 = FieldText(NextField(rest));
    text2 = FieldText(rest);
}
