#pragma once
// The rules by which AString folds case and trims, one UTF-16 unit at a time: code that works on views
// of texts follows the same rules without making strings.

inline char16_t FoldedToLowerAZ(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}
inline char16_t FoldedToUpperAZ(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}
inline bool IsTrimmedSpace(char16_t c) {
    return c == u' ' || (c >= 0x09 && c <= 0x0D);
}
