#pragma once
// Numbers that tags carry as text ("7", "7/12", "2004-05-01").

#include "foundation/AString.h"

#include <cstdint>

// The decimal number at the start of the text, after any spaces; 0 when there is none. Numbers too
// large for 32 bits give 0xFFFFFFFF.
uint32_t LeadingNumber(const AString& text);

// "a/b" gives a and b; a text without "/" gives its number and leaves `second` as it was.
void NumberPair(const AString& text, uint32_t& first, uint32_t& second);
