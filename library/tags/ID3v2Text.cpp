#include "library/tags/ID3v2Text.h"

#include "foundation/ByteOrder.h"

#include <string_view>

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

std::string_view UpToZeroByte(const uint8_t* bytes, uint64_t length) {
    uint64_t end = 0;
    while (end < length && bytes[end] != 0)
        ++end;
    return std::string_view(reinterpret_cast<const char*>(bytes), end);
}

// UTF-16 units up to the first zero unit; an odd last byte is dropped.
AString DecodeUtf16(const uint8_t* bytes, uint64_t length, bool bigEndian) {
    std::u16string text;
    for (uint64_t i = 0; i + 1 < length; i += 2) {
        const char16_t unit = bigEndian ? LoadBE16(bytes + i) : LoadLE16(bytes + i);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return AString(text);
}

// The byte order a mark announces; text without a mark is taken as little-endian.
AString DecodeUtf16WithMark(const uint8_t* bytes, uint64_t length) {
    if (length >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return DecodeUtf16(bytes + 2, length - 2, true);
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return DecodeUtf16(bytes + 2, length - 2, false);
    return DecodeUtf16(bytes, length, false);
}

AString WithoutLeadingMark(AString text) {
    if (!text.IsEmpty() && text.GetAt(0) == kByteOrderMark)
        text.Delete(0);
    return text;
}

} // namespace

bool ID3v2Text::IsKnownEncoding(uint8_t encoding, int version) {
    return encoding == kLatin1 || encoding == kUtf16 ||
           (version == 4 && (encoding == kUtf16BE || encoding == kUtf8));
}

AString ID3v2Text::Decode(const uint8_t* body, uint64_t size, int version) {
    if (size == 0 || !IsKnownEncoding(body[0], version))
        return AString();
    const uint8_t* text = body + 1;
    const uint64_t length = size - 1;
    switch (body[0]) {
    case kLatin1:
        return AString::FromWindows1252(UpToZeroByte(text, length));
    case kUtf16:
        return size < 4 ? AString() : WithoutLeadingMark(DecodeUtf16WithMark(text, length));
    case kUtf16BE:
        return WithoutLeadingMark(DecodeUtf16(text, length, true));
    default:
        return WithoutLeadingMark(AString::FromUtf8(UpToZeroByte(text, length)));
    }
}

uint64_t ID3v2Text::TerminatedLength(const uint8_t* bytes, uint64_t offset, uint64_t size, uint8_t encoding) {
    const uint64_t step = HasWideCharacters(encoding) ? 2 : 1;
    for (uint64_t i = offset; i + step <= size; i += step) {
        if (bytes[i] == 0 && (step == 1 || bytes[i + 1] == 0))
            return i + step - offset;
    }
    return 0;
}
