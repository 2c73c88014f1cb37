#include "library/tags/AdtsFrameHeader.h"

#include <iterator>

namespace {

constexpr uint32_t kSampleRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                     22050, 16000, 12000, 11025, 8000,  7350};
constexpr uint8_t kSyncByte = 0xFF;
constexpr uint8_t kSyncAndLayerMask = 0xF6; // the sync word's last four bits and the layer
constexpr uint8_t kSyncAndLayer = 0xF0;
constexpr uint8_t kUnprotected = 0x01;
constexpr uint32_t kCrcLength = 2;
constexpr uint32_t kSamplesPerBlock = 1024;

uint32_t SampleRateIndex(const uint8_t* b) {
    return (b[2] >> 2) & 0x0F;
}

uint32_t FrameLengthOf(const uint8_t* b) {
    return (uint32_t(b[3] & 0x03) << 11) | (uint32_t(b[4]) << 3) | (b[5] >> 5);
}

uint32_t HeaderLengthOf(const uint8_t* b) {
    return AdtsFrameHeader::kLength + ((b[1] & kUnprotected) ? 0 : kCrcLength);
}

uint32_t BlockCount(const uint8_t* b) {
    return (b[6] & 0x03) + 1u;
}

} // namespace

bool AdtsFrameHeader::IsFrameHeader(const uint8_t* b) {
    return b[0] == kSyncByte && (b[1] & kSyncAndLayerMask) == kSyncAndLayer &&
           SampleRateIndex(b) < std::size(kSampleRates) && FrameLengthOf(b) > HeaderLengthOf(b);
}

AdtsFrameHeader::AdtsFrameHeader(const uint8_t* b)
    : m_frameLength(FrameLengthOf(b)), m_sampleRate(kSampleRates[SampleRateIndex(b)]),
      m_sampleCount(BlockCount(b) * kSamplesPerBlock) {}
