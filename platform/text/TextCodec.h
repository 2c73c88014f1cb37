#pragma once
// Conversions between UTF-16 and the 8-bit encodings the system meets: UTF-8 is the operating system's
// own 8-bit text (paths, logs, INI files); Windows-1252 is what file formats mean by "Latin-1".

#include <cstddef>
#include <string>
#include <string_view>

namespace textcodec {

bool IsValidUtf8(std::string_view bytes);

// Invalid sequences become U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);
std::u16string DecodeWindows1252(std::string_view bytes);

// The system's own 8-bit text (file names above all), without loss: valid UTF-8 decodes as UTF-8, and
// each byte that does not decode becomes a reserved code point U+DC80 to U+DCFF, which
// EncodeSystem8Bit turns back into that very byte. A name read from a folder so names the same file
// again.
std::u16string DecodeSystem8Bit(std::string_view bytes);
std::string EncodeSystem8Bit(std::u16string_view text);

// Unpaired surrogates become U+FFFD: text for formats that must hold valid UTF-8.
std::string EncodeUtf8(std::u16string_view text);

} // namespace textcodec
