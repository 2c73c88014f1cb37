#pragma once
// Saved records spelled out byte by byte, so that the tests hold the records' writers and readers to
// the stored form rather than to each other.

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void AppendU32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The text record: version word, u16 byte count, FF FE and the UTF-16LE characters.
inline void AppendTextRecord(Bytes& out, const std::u16string& text) {
    AppendU32(out, 0x00100002);
    const uint16_t count = static_cast<uint16_t>(2 * text.size() + 2);
    out.push_back(static_cast<uint8_t>(count));
    out.push_back(static_cast<uint8_t>(count >> 8));
    out.push_back(0xFF);
    out.push_back(0xFE);
    for (char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
}
