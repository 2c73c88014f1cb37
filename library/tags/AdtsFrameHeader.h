#pragma once
// The header of an ADTS frame, the frames that raw AAC files (".aac") are made of: a 12-bit sync word,
// the MPEG version, layer 0, whether a CRC follows, the profile, the sample rate, the channels, the
// length of the whole frame and how many raw data blocks of 1024 samples it carries.

#include <cstdint>

class AdtsFrameHeader {
public:
    static constexpr uint32_t kLength = 7; // a protected frame has its CRC after these bytes

    // The sync word, layer 0, a sample rate of the table and a frame long enough for its header.
    static bool IsFrameHeader(const uint8_t* bytes);
    // The bytes must pass IsFrameHeader.
    explicit AdtsFrameHeader(const uint8_t* bytes);

    uint32_t FrameLength() const { return m_frameLength; } // bytes, the header included
    uint32_t SampleRate() const { return m_sampleRate; }   // Hz
    uint32_t SampleCount() const { return m_sampleCount; }

private:
    uint32_t m_frameLength;
    uint32_t m_sampleRate;
    uint32_t m_sampleCount;
};
