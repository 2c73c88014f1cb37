#include "library/tags/Unsynchronisation.h"

namespace unsynchronisation {

namespace {

bool NeedsGuard(uint8_t next) {
    return next >= 0xE0 || next == 0;
}

// A zero after 0xFF was put there by the scheme.
bool IsInsertedZero(const uint8_t* raw, uint64_t index) {
    return index > 0 && raw[index - 1] == 0xFF && raw[index] == 0;
}

} // namespace

std::vector<uint8_t> Decode(const uint8_t* raw, uint64_t length) {
    std::vector<uint8_t> decoded;
    decoded.reserve(length);
    for (uint64_t i = 0; i < length; ++i) {
        if (!IsInsertedZero(raw, i))
            decoded.push_back(raw[i]);
    }
    return decoded;
}

std::vector<uint8_t> Encode(const uint8_t* data, uint64_t length) {
    std::vector<uint8_t> encoded;
    encoded.reserve(length + length / 64 + 1);
    for (uint64_t i = 0; i < length; ++i) {
        encoded.push_back(data[i]);
        if (data[i] == 0xFF && (i + 1 == length || NeedsGuard(data[i + 1])))
            encoded.push_back(0);
    }
    return encoded;
}

uint64_t RawOffsets::Of(uint64_t decodedOffset) {
    for (; m_rawOffset < m_length; ++m_rawOffset) {
        if (IsInsertedZero(m_raw, m_rawOffset))
            continue;
        if (m_decodedOffset == decodedOffset)
            return m_rawOffset;
        ++m_decodedOffset;
    }
    return m_length;
}

} // namespace unsynchronisation
