#pragma once
// The one file-name sanitising rule of the system: entry-text levels, folder and file names and the
// song name checksum all clean their text with it, so that the same song gets the same name everywhere.

#include "foundation/AString.h"

#include <string>
#include <string_view>

// Replaces each of " * / : < > ? \ | and U+00C0 by `replacement`; characters above 255 stay. With
// `edges`, a '.' at the start and a '.' at the end are replaced too. The length never changes.
void SanitizeFileName(AString& text, char16_t replacement, bool edges);
AString SanitizedFileName(const AString& text, char16_t replacement, bool edges);
// Appends `text` cleaned as SanitizedFileName does with the edges left alone.
void AppendSanitizedFileName(std::u16string& out, std::u16string_view text, char16_t replacement);
// The CRC-32 of a title cleaned with '_' (edges left alone): songs and iPod tracks are bucketed by it.
uint32_t NameChecksum(const AString& title);
