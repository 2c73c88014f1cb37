#pragma once

#include "foundation/AString.h"

// Splits a song key: its first character is skipped, then "a/b_c/d/text1/text2". Missing fields stay 0
// or empty; a text field "*" is the empty text; both texts are trimmed. The numbers are signed decimal;
// b is the played time's low word, so a negative b gives its unsigned 32-bit pattern.
void ParseSlashFields(int& a, uint64_t& b, int& c, int& d, AString& text1, AString& text2,
                      const AString& source);
