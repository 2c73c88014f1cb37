#include "library/tags/MpegFrameHeader.h"

#include <cstring>

namespace {

constexpr uint32_t kBitRatesKbps[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // MPEG-1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // MPEG-1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // MPEG-1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},    // MPEG-2 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},         // MPEG-2 Layers II, III
};

constexpr uint32_t kSampleRates[3][3] = {
    {44100, 48000, 32000}, // MPEG-1
    {22050, 24000, 16000}, // MPEG-2
    {11025, 12000, 8000},  // MPEG-2.5
};

constexpr uint8_t kVersionReserved = 1;
constexpr uint8_t kLayerReserved = 0;
constexpr uint8_t kBitRateInvalid = 15;
constexpr uint8_t kSampleRateReserved = 3;
constexpr uint8_t kEmphasisReserved = 2;
constexpr uint8_t kChannelModeMono = 3;
constexpr uint16_t kCrcPolynomial = 0x8005;

uint8_t VersionBits(const uint8_t* b) {
    return (b[1] >> 3) & 3;
}
uint8_t LayerBits(const uint8_t* b) {
    return (b[1] >> 1) & 3;
}
uint8_t BitRateIndex(const uint8_t* b) {
    return b[2] >> 4;
}
uint8_t SampleRateIndex(const uint8_t* b) {
    return (b[2] >> 2) & 3;
}

} // namespace

bool MpegFrameHeader::IsFrameHeader(const uint8_t* b) {
    return b[0] == kSyncByte && (b[1] & 0xE0) == 0xE0 && VersionBits(b) != kVersionReserved &&
           LayerBits(b) != kLayerReserved && BitRateIndex(b) != kBitRateInvalid &&
           SampleRateIndex(b) != kSampleRateReserved && (b[3] & 3) != kEmphasisReserved;
}

const uint8_t* MpegFrameHeader::FindFrameHeader(const uint8_t* bytes, uint32_t length) {
    if (length < kLength)
        return nullptr;
    const uint8_t* const lastStart = bytes + (length - kLength);
    for (const uint8_t* at = bytes; at <= lastStart; ++at) {
        at = static_cast<const uint8_t*>(std::memchr(at, kSyncByte, size_t(lastStart - at) + 1));
        if (!at)
            return nullptr;
        if (IsFrameHeader(at))
            return at;
    }
    return nullptr;
}

MpegFrameHeader::MpegFrameHeader(const uint8_t* b) {
    static constexpr Version kVersions[4] = {Version::Mpeg25, Version::Mpeg1, Version::Mpeg2, Version::Mpeg1};
    m_version = kVersions[VersionBits(b)];
    m_layer = 4 - LayerBits(b);
    const bool mpeg1 = m_version == Version::Mpeg1;
    const int row = mpeg1 ? m_layer - 1 : (m_layer == 1 ? 3 : 4);
    m_bitRate = kBitRatesKbps[row][BitRateIndex(b)] * 1000;
    m_sampleRate = kSampleRates[static_cast<int>(m_version)][SampleRateIndex(b)];
    m_padding = (b[2] & 0x02) != 0;
    m_protected = (b[1] & 0x01) == 0;
    m_mono = (b[3] >> 6) == kChannelModeMono;
}

uint32_t MpegFrameHeader::BytesPerRateUnit() const {
    if (m_layer == 1)
        return 48;
    if (m_layer == 3 && m_version != Version::Mpeg1)
        return 72;
    return 144;
}

uint32_t MpegFrameHeader::FrameLength() const {
    const uint32_t padding = m_padding ? 1 : 0;
    if (m_layer == 1)
        return (12 * m_bitRate / m_sampleRate + padding) * 4;
    return BytesPerRateUnit() * m_bitRate / m_sampleRate + padding;
}

uint32_t MpegFrameHeader::SideInformationOffset() const {
    if (m_version == Version::Mpeg1)
        return m_mono ? 21 : kMaxSideInformationOffset;
    return m_mono ? 13 : 21;
}

uint16_t MpegAudioCrc16(const uint8_t* bytes, uint32_t length) {
    uint16_t crc = 0xFFFF;
    if (length < 3)
        return crc;
    for (uint32_t i = 0; i < length; ++i) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool carry = ((crc >> 15) ^ (bytes[i] >> bit)) & 1;
            crc = static_cast<uint16_t>(crc << 1);
            if (carry)
                crc ^= kCrcPolynomial;
        }
    }
    return crc;
}
