#pragma once
// The texts inside ID3v2 frames: an encoding byte, then Latin-1 (read as Windows-1252), UTF-16 with a
// byte-order mark, UTF-16 big-endian or UTF-8. A text ends at its first zero character.

#include "foundation/AString.h"

#include <cstdint>

class ID3v2Text {
public:
    enum Encoding : uint8_t { kLatin1 = 0, kUtf16 = 1, kUtf16BE = 2, kUtf8 = 3 };

    // The text of a text frame body (encoding byte first); an encoding the version does not know
    // gives the empty text.
    static AString Decode(const uint8_t* body, uint64_t size, int version);
    // Bytes from `offset` up to and including the zero character of `encoding`; 0 when the text has no
    // terminator before `size`.
    static uint64_t TerminatedLength(const uint8_t* bytes, uint64_t offset, uint64_t size, uint8_t encoding);
    static bool IsKnownEncoding(uint8_t encoding, int version);
    static bool HasWideCharacters(uint8_t encoding) { return encoding == kUtf16 || encoding == kUtf16BE; }
};
