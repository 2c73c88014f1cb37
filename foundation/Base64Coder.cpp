#include "foundation/Base64Coder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kNotInAlphabet = 0xFE;
constexpr uint8_t kPadding = 0xFF;

constexpr std::array<uint8_t, 256> BuildDecodeTable() {
    std::array<uint8_t, 256> table{};
    table.fill(kNotInAlphabet);
    for (uint8_t value = 0; value < 64; ++value) {
        const auto c = static_cast<uint8_t>(kAlphabet[value]);
        table[c] = value;
        table[c | 0x80] = value;
    }
    table['='] = kPadding;
    table['=' | 0x80] = kPadding;
    return table;
}

constexpr std::array<uint8_t, 256> kDecodeTable = BuildDecodeTable();

bool IsWhiteSpace(char c) {
    return (c >= 7 && c <= 13) || c == ' ';
}

} // namespace

template <typename Buffer> void Base64Coder::Allocate(Buffer& buffer, uint64_t size) {
    if (buffer.size() <= size)
        buffer.assign(((size >> 12) + 1) << 12, 0);
    else
        std::fill(buffer.begin(), buffer.end(), 0);
}

void Base64Coder::AllocEncoded(uint64_t size) {
    Allocate(m_encoded, size);
    m_encodedLength = 0;
}

void Base64Coder::AllocDecoded(uint64_t size) {
    Allocate(m_decoded, size);
    m_decodedLength = 0;
}

void Base64Coder::SetDecoded(const void* data, uint32_t length) {
    AllocDecoded(length);
    if (length > 0)
        std::memcpy(m_decoded.data(), data, length);
    m_decodedLength = length;
}

void Base64Coder::SetEncoded(const char* text, uint32_t length) {
    AllocEncoded(length);
    for (uint32_t i = 0; i < length; ++i) {
        if (!IsWhiteSpace(text[i]))
            m_encoded[m_encodedLength++] = text[i];
    }
}

void Base64Coder::EncodeGroup(const uint8_t* group, uint32_t count) {
    uint8_t bytes[3] = {0, 0, 0};
    std::memcpy(bytes, group, count);
    char* out = m_encoded.data() + m_encodedLength;
    out[0] = kAlphabet[bytes[0] >> 2];
    out[1] = kAlphabet[((bytes[0] & 0x03) << 4) | (bytes[1] >> 4)];
    out[2] = count > 1 ? kAlphabet[((bytes[1] & 0x0F) << 2) | (bytes[2] >> 6)] : '=';
    out[3] = count > 2 ? kAlphabet[bytes[2] & 0x3F] : '=';
    m_encodedLength += 4;
}

void Base64Coder::Encode(const void* data, uint32_t length) {
    SetDecoded(data, length);
    AllocEncoded(2 * uint64_t(length));
    for (uint32_t done = 0; done < length; done += 3)
        EncodeGroup(m_decoded.data() + done, std::min<uint32_t>(3, length - done));
}

void Base64Coder::EncodeText(const char* text) {
    if (text)
        Encode(text, static_cast<uint32_t>(std::strlen(text)));
}

// Characters outside the alphabet are not refused: their table value enters the arithmetic as it is,
// and so does "=" in the first two places; in the last two it counts as 0.
void Base64Coder::DecodeGroup(const uint8_t* characters, uint32_t count) {
    uint8_t values[4] = {0, 0, 0, 0};
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t value = kDecodeTable[characters[i]];
        values[i] = (value == kPadding && i >= 2) ? 0 : value;
    }
    uint8_t* out = m_decoded.data() + m_decodedLength;
    out[0] = static_cast<uint8_t>((values[0] << 2) | (values[1] >> 4));
    out[1] = static_cast<uint8_t>((values[1] << 4) | (values[2] >> 2));
    out[2] = static_cast<uint8_t>((values[2] << 6) | values[3]);
    m_decodedLength += count == 4 ? 3 : count;
}

void Base64Coder::Decode(const char* text, uint32_t length) {
    SetEncoded(text, length);
    AllocDecoded(length);
    const auto* characters = reinterpret_cast<const uint8_t*>(m_encoded.data());
    for (uint32_t done = 0; done < m_encodedLength; done += 4)
        DecodeGroup(characters + done, std::min<uint32_t>(4, m_encodedLength - done));
}

void Base64Coder::DecodeText(const char* text) {
    if (text)
        Decode(text, static_cast<uint32_t>(std::strlen(text)));
}
