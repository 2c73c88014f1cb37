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

// The system's rule for 8-bit input: UTF-8 when it is valid UTF-8, else Windows-1252.
std::u16string DecodeSystem8Bit(std::string_view bytes);

// Unpaired surrogates become U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

} // namespace textcodec
