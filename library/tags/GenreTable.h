#pragma once
// The genre names that ID3v1 bytes, ID3v2 "(n)" texts and MP4 genre numbers stand for.

#include "foundation/AString.h"

#include <cstdint>

class GenreTable {
public:
    static constexpr uint32_t kCount = 126;

    // The name of genre `number`; a number without a name gives the empty text.
    static AString Name(uint64_t number);
    // ID3v2 form: a text beginning with "(" names the genre of all its digits; other texts stay.
    static AString ResolveGenreV2(const AString& text);
    // MP4 form: "n" or "(n)" names genre n + offset; other texts stay.
    static AString ResolveGenreNumber(const AString& text, int offset);
};
