#include "foundation/ACrc32.h"

#include "foundation/ByteOrder.h"

#include <array>

namespace {

// Slicing by eight: table[k][b] is the checksum step of byte b followed by k zero bytes.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables BuildTables() {
    Tables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320 : value >> 1;
        tables[0][i] = value;
    }
    for (uint32_t i = 0; i < 256; ++i) {
        for (int k = 1; k < 8; ++k)
            tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
    }
    return tables;
}

constexpr Tables kTables = BuildTables();

uint32_t Step(uint32_t value, uint8_t byte) {
    return (value >> 8) ^ kTables[0][(value ^ byte) & 0xFF];
}

} // namespace

void ACrc32::Update(const void* data, uint32_t length) {
    if (static_cast<int32_t>(length) <= 0)
        return;
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint32_t value = m_value;
    for (; length >= 8; length -= 8, bytes += 8) {
        const uint32_t low = value ^ LoadLE32(bytes);
        value = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
                kTables[4][low >> 24] ^ kTables[3][bytes[4]] ^ kTables[2][bytes[5]] ^ kTables[1][bytes[6]] ^
                kTables[0][bytes[7]];
    }
    for (; length > 0; --length, ++bytes)
        value = Step(value, *bytes);
    m_value = value;
}

void ACrc32::Update(const AString& text) {
    for (char16_t c : text.GetCString()) {
        m_value = Step(m_value, static_cast<uint8_t>(c));
        m_value = Step(m_value, static_cast<uint8_t>(c >> 8));
    }
}
