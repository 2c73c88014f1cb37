#include "remote/WireHeader.h"

#include <string_view>

namespace {

struct Field {
    size_t offset;
    size_t width;
    int64_t min;
    int64_t max;
};

constexpr Field kCode{0, 10, -999999999, INT32_MAX};
constexpr Field kRawLength{10, 10, -(WireHeader::kMaxPayload - 1), WireHeader::kMaxPayload - 1};
constexpr Field kBase64Length{20, 10, 0, WireHeader::kMaxPayload - 1};
constexpr Field kChecksum{30, 6, 0, 0xFFFF};
constexpr size_t kFlagOffset = 36;

// Right-aligned "%d", keeping the rightmost characters of a value wider than the field.
void WriteField(std::span<uint8_t, WireHeader::kLength> out, const Field& field, int32_t value) {
    int64_t magnitude = value < 0 ? -int64_t(value) : value;
    size_t position = field.offset + field.width;
    do {
        out[--position] = static_cast<uint8_t>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 && position > field.offset);
    if (value < 0 && position > field.offset)
        out[--position] = '-';
    while (position > field.offset)
        out[--position] = ' ';
}

bool ReadField(std::span<const uint8_t, WireHeader::kLength> in, const Field& field, int32_t& value) {
    const std::string_view text(reinterpret_cast<const char*>(in.data()) + field.offset, field.width);
    size_t position = text.find_first_not_of(' ');
    if (position == std::string_view::npos)
        return false;
    const bool negative = text[position] == '-';
    if (negative && ++position == text.size())
        return false;
    int64_t number = 0;
    for (; position < text.size(); ++position) {
        if (text[position] < '0' || text[position] > '9')
            return false;
        number = number * 10 + (text[position] - '0');
    }
    if (negative)
        number = -number;
    if (number < field.min || number > field.max)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

} // namespace

void WireHeader::Write(std::span<uint8_t, kLength> out) const {
    WriteField(out, kCode, code);
    WriteField(out, kRawLength, rawLength);
    WriteField(out, kBase64Length, base64Length);
    WriteField(out, kChecksum, checksum);
    out[kFlagOffset] = '0';
    out[kFlagOffset + 1] = packed ? '1' : '0';
}

bool WireHeader::Read(std::span<const uint8_t, kLength> in) {
    WireHeader read;
    if (!ReadField(in, kCode, read.code) || !ReadField(in, kRawLength, read.rawLength) ||
        !ReadField(in, kBase64Length, read.base64Length) || !ReadField(in, kChecksum, read.checksum))
        return false;
    if (in[kFlagOffset] != '0' || (in[kFlagOffset + 1] != '0' && in[kFlagOffset + 1] != '1'))
        return false;
    read.packed = in[kFlagOffset + 1] == '1';
    *this = read;
    return true;
}
