#pragma once
// The 4-byte header of an MPEG audio frame (MPEG-1, MPEG-2 and MPEG-2.5, Layers I to III) and what the
// duration scan takes from it.

#include <cstddef>
#include <cstdint>

class MpegFrameHeader {
public:
    static constexpr uint32_t kLength = 4;
    static constexpr uint32_t kMaxSideInformationOffset = 36;

    enum class Version { Mpeg1, Mpeg2, Mpeg25 };

    static constexpr uint8_t kSyncByte = 0xFF;

    // The sync pattern with no reserved or invalid field.
    static bool IsFrameHeader(const uint8_t* bytes);
    // The first header that lies wholly within the bytes, or null.
    static const uint8_t* FindFrameHeader(const uint8_t* bytes, uint32_t length);
    // The bytes must pass IsFrameHeader.
    explicit MpegFrameHeader(const uint8_t* bytes);

    Version GetVersion() const { return m_version; }
    int GetLayer() const { return m_layer; }
    uint32_t GetBitRate() const { return m_bitRate; }       // bit/s, 0 for free format
    uint32_t GetSampleRate() const { return m_sampleRate; } // Hz
    bool IsProtected() const { return m_protected; }        // a CRC follows the header
    // Bytes of the whole frame; 0 for free format.
    uint32_t FrameLength() const;
    // From the frame start to where a "Xing" header would begin.
    uint32_t SideInformationOffset() const;
    // Bytes a frame holds per bit/s of rate and Hz of sample rate: its samples divided by 8.
    uint32_t BytesPerRateUnit() const;

private:
    Version m_version;
    int m_layer;
    uint32_t m_bitRate;
    uint32_t m_sampleRate;
    bool m_padding;
    bool m_protected;
    bool m_mono;
};

// The MPEG audio CRC-16 (polynomial 0x8005, initial value 0xFFFF, most significant bit first).
uint16_t MpegAudioCrc16(const uint8_t* bytes, uint32_t length);
