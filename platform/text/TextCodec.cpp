#include "platform/text/TextCodec.h"

#include <array>
#include <cstdint>

namespace textcodec {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
// An undecodable byte b of system text stands as U+DC00 + b; only bytes 0x80 to 0xFF can be undecodable.
constexpr char16_t kByteEscapeBase = 0xDC00;
constexpr char16_t kFirstByteEscape = 0xDC80;
constexpr char16_t kLastByteEscape = 0xDCFF;

// Windows-1252 bytes 0x80 to 0x9F; the five undefined ones map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at `pos`; returns false (and the length to skip) when it is invalid.
bool DecodeOne(std::string_view bytes, size_t pos, char32_t& codePoint, size_t& length) {
    const auto lead = static_cast<uint8_t>(bytes[pos]);
    length = 1;
    if (lead < 0x80) {
        codePoint = lead;
        return true;
    }
    size_t extra;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return false;
    }
    if (bytes.size() - pos <= extra)
        return false;
    for (size_t i = 1; i <= extra; ++i) {
        const auto next = static_cast<uint8_t>(bytes[pos + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    length = extra + 1;
    return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Reads UTF-8; `invalid` decides what a byte that starts no valid sequence becomes. No byte gives more
// than one UTF-16 unit (a four-byte sequence gives two), so the result is written into room made once,
// and ASCII, most of every text, is copied without a decoding step.
template <typename Invalid> std::u16string Decode(std::string_view bytes, Invalid invalid) {
    std::u16string out(bytes.size(), u'\0');
    size_t written = 0;
    char32_t codePoint;
    size_t length;
    for (size_t pos = 0; pos < bytes.size(); pos += length) {
        const auto byte = static_cast<uint8_t>(bytes[pos]);
        length = 1;
        if (byte < 0x80) {
            out[written++] = byte;
        } else if (!DecodeOne(bytes, pos, codePoint, length)) {
            out[written++] = invalid(byte);
        } else if (codePoint < 0x10000) {
            out[written++] = static_cast<char16_t>(codePoint);
        } else {
            codePoint -= 0x10000;
            out[written++] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        }
    }
    out.resize(written);
    return out;
}

// Writes UTF-8; `unpaired` decides what a surrogate without its partner becomes.
template <typename Unpaired> std::string Encode(std::u16string_view text, Unpaired unpaired) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            unpaired(out, unit);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

void AppendReplacement(std::string& out, char16_t) {
    AppendUtf8(out, kReplacement);
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    char32_t codePoint;
    size_t length;
    for (size_t pos = 0; pos < bytes.size(); pos += length) {
        if (!DecodeOne(bytes, pos, codePoint, length))
            return false;
    }
    return true;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    return Decode(bytes, [](uint8_t) { return kReplacement; });
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        out.push_back(byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t(byte));
    }
    return out;
}

std::u16string DecodeSystem8Bit(std::string_view bytes) {
    return Decode(bytes, [](uint8_t byte) { return static_cast<char16_t>(kByteEscapeBase + byte); });
}

std::string EncodeSystem8Bit(std::u16string_view text) {
    return Encode(text, [](std::string& out, char16_t unit) {
        if (unit >= kFirstByteEscape && unit <= kLastByteEscape)
            out.push_back(static_cast<char>(unit - kByteEscapeBase));
        else
            AppendReplacement(out, unit);
    });
}

std::string EncodeUtf8(std::u16string_view text) {
    return Encode(text, AppendReplacement);
}

} // namespace textcodec
