#include "library/entries/FileNameRule.h"

#include "foundation/ACrc32.h"

#include <cstddef>
#include <string>

namespace {

bool IsForbidden(char16_t c) {
    switch (c) {
    case u'"':
    case u'*':
    case u'/':
    case u':':
    case u'<':
    case u'>':
    case u'?':
    case u'\\':
    case u'|':
    case 0x00C0:
        return true;
    default:
        return false;
    }
}

} // namespace

// Copied whole, then cleaned in place: one append instead of one for each character.
void AppendSanitizedFileName(std::u16string& out, std::u16string_view text, char16_t replacement) {
    const size_t start = out.size();
    out.append(text);
    for (auto c = out.begin() + static_cast<std::ptrdiff_t>(start); c != out.end(); ++c) {
        if (IsForbidden(*c))
            *c = replacement;
    }
}

AString SanitizedFileName(const AString& text, char16_t replacement, bool edges) {
    std::u16string clean;
    clean.reserve(text.GetCString().size());
    AppendSanitizedFileName(clean, text.GetCString(), replacement);
    if (edges && !clean.empty()) {
        if (clean.front() == u'.')
            clean.front() = replacement;
        if (clean.back() == u'.')
            clean.back() = replacement;
    }
    return AString(std::move(clean));
}

void SanitizeFileName(AString& text, char16_t replacement, bool edges) {
    text = SanitizedFileName(text, replacement, edges);
}

uint32_t NameChecksum(const AString& title) {
    ACrc32 crc;
    crc.Update(SanitizedFileName(title, u'_', false));
    return crc.GetValue();
}
