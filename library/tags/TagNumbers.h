#pragma once
// Numbers that tags carry as text ("7", "7/12", "2004-05-01").

#include "foundation/AString.h"

#include <cstdint>

// The decimal number at the start of the text, after any spaces; 0 when there is none. Numbers too
// large for 32 bits give 0xFFFFFFFF.
uint32_t LeadingNumber(const AString& text);

// Track and disc numbers ("7", "7/12") keep their low 16 bits, whichever tag carried them. A disc text
// without "/" gives its number and leaves `count` as it was.
uint32_t TrackNumberOf(const AString& text);
void DiscNumbersOf(const AString& text, uint32_t& number, uint32_t& count);
