#include "TagTestBytes.h"
#include "library/tags/ID3.h"
#include "library/tags/MpegFrameHeader.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace tagtest;

namespace {

const Bytes kTag = Tag(3, TextFrame(3, "TIT2", "T"));

struct Info {
    uint32_t bitRate;
    uint32_t duration;
};

// The tag, the leading frames, then zeros up to `audioBytes` (a sparse file), then the trailer.
Info ReadMp3(const Bytes& leading, uint64_t audioBytes, const Bytes& trailer = {}, const Bytes& tag = kTag) {
    TempDir dir;
    const std::string path = dir.File("song.mp3");
    WriteBytes(path, Concat({tag, leading}));
    std::filesystem::resize_file(path, tag.size() + audioBytes);
    if (!trailer.empty()) {
        FILE* file = fopen(path.c_str(), "ab");
        fwrite(trailer.data(), 1, trailer.size(), file);
        fclose(file);
    }
    ID3 tags;
    EXPECT_EQ(tags.Read(AString(path)), 0);
    return {tags.GetBitRate(), tags.GetDuration()};
}

Bytes Xing(uint32_t frames, uint32_t bytes) {
    return Concat({Text("Xing"), BE32(3), BE32(frames), BE32(bytes)});
}

Bytes Vbri(uint32_t bytes, uint32_t frames) {
    return Concat({Text("VBRI"), {0, 1, 0, 0, 0, 50}, BE32(bytes), BE32(frames), Bytes(8, 0)});
}

// A frame whose header is followed, at `at`, by `inner`.
Bytes FrameWith(const Bytes& header, size_t at, const Bytes& inner, size_t length = 417) {
    Bytes frame = header;
    frame.resize(at, 0);
    frame.insert(frame.end(), inner.begin(), inner.end());
    frame.resize(std::max(length, frame.size()), 0);
    return frame;
}

TEST(MpegInfo, ConstantBitRate) {
    const Bytes frame = Mpeg1Layer3Frame(9, false, 417); // 128 kbit/s
    EXPECT_EQ(ReadMp3(frame, 4800000).duration, 300u);
    EXPECT_EQ(ReadMp3(frame, 4800000).bitRate, 128u);
    // A trailing ID3v1 block is not audio.
    EXPECT_EQ(ReadMp3(frame, 4799900, ID3v1("T", "", "", "", "", 1, 1)).duration, 299u);
    // Zero bytes between the tag and the first frame are stepped over.
    EXPECT_EQ(ReadMp3(Concat({Bytes(3000, 0), frame}), 4800000).bitRate, 128u);
}

TEST(MpegInfo, AverageOfXingAndVbriHeaders) {
    const struct {
        const char* name;
        Bytes frame;
        uint64_t audioBytes;
        uint32_t bitRate;
        uint32_t duration;
    } cases[] = {
        {"MPEG-1 Layer III Xing", FrameWith(MpegHeader(0xFB, 0x50, 0x00), 36, Xing(10000, 4179000)), 4179000,
         127, 261},
        {"Xing without a byte count",
         FrameWith(MpegHeader(0xFB, 0x50, 0x00), 36, Concat({Text("Xing"), BE32(1), BE32(10000)})), 4179000,
         127, 261},
        // MPEG-2 Layer III, 22050 Hz, mono: 72 bytes per rate unit.
        {"MPEG-2 Layer III Xing", FrameWith(MpegHeader(0xF3, 0x80, 0xC0), 13, Xing(1000, 300000), 200),
         300000, 91, 26},
        // Layer I: 48.
        {"Layer I Xing", FrameWith(MpegHeader(0xFF, 0x40, 0x00), 36, Xing(1000, 50000), 420), 50000, 45, 8},
        // VBRI stands 32 bytes after the header also in a mono frame (whose Xing place is 21).
        {"VBRI in a mono frame", FrameWith(MpegHeader(0xFB, 0x50, 0xC0), 36, Vbri(4179000, 10000)), 4179000,
         127, 262},
        {"VBRI with too many frames", FrameWith(MpegHeader(0xFB, 0x50, 0xC0), 36, Vbri(4179000, 0x80000000)),
         4179000, 64, 522},
    };
    for (const auto& c : cases) {
        const Info info = ReadMp3(c.frame, c.audioBytes);
        EXPECT_EQ(info.bitRate, c.bitRate) << c.name;
        EXPECT_EQ(info.duration, c.duration) << c.name;
    }
}

TEST(MpegInfo, XingBehindALargeTag) {
    const Bytes bigTag = Tag(3, Concat({TextFrame(3, "TIT2", "T"), Bytes(100000, 0)}));
    const Bytes frame = FrameWith(MpegHeader(0xFB, 0x50, 0x00), 36, Xing(100, 41790));
    const Info info = ReadMp3(frame, 41790, {}, bigTag);
    EXPECT_EQ(info.bitRate, 127u);
    EXPECT_EQ(info.duration, 2u);
}

TEST(MpegInfo, RejectedHeaders) {
    // A protected frame with a wrong CRC is skipped for the next header.
    const Bytes badCrc = FrameWith(MpegHeader(0xFA, 0x50, 0x00), 4, {0x12, 0x34}, 209);
    EXPECT_EQ(ReadMp3(Concat({badCrc, Mpeg1Layer3Frame(9, false, 417)}), 4800000).bitRate, 128u);
    // One with the right CRC is taken.
    Bytes goodCrc = FrameWith(MpegHeader(0xFA, 0x50, 0x00), 38, {}, 209);
    goodCrc[10] = 0x5A;
    const Bytes covered =
        Concat({{goodCrc[2], goodCrc[3]}, Bytes(goodCrc.begin() + 6, goodCrc.begin() + 38)});
    const uint16_t crc = MpegAudioCrc16(covered.data(), static_cast<uint32_t>(covered.size()));
    goodCrc[4] = uint8_t(crc >> 8);
    goodCrc[5] = uint8_t(crc);
    EXPECT_EQ(ReadMp3(Concat({goodCrc, Mpeg1Layer3Frame(9, false, 417)}), 4800000).bitRate, 64u);

    // Free format never gives a duration.
    const Info freeFormat = ReadMp3(Mpeg1Layer3Frame(0, false, 417), 100000);
    EXPECT_EQ(freeFormat.bitRate, 0u);
    EXPECT_EQ(freeFormat.duration, 0u);
    EXPECT_EQ(ReadMp3(Bytes(100, 0x55), 20000).bitRate, 0u);
    // A header inside the ID3v1 block is no audio frame.
    Bytes block = ID3v1("T", "", "", "", "", 1, 1);
    const Bytes header = MpegHeader(0xFB, 0x90, 0x00);
    std::copy(header.begin(), header.end(), block.begin() + 100);
    const Info inBlock = ReadMp3({}, 10, block);
    EXPECT_EQ(inBlock.bitRate, 0u);
    EXPECT_EQ(inBlock.duration, 0u);
}

TEST(MpegInfo, FrameHeaderFields) {
    const struct {
        Bytes header;
        uint32_t bitRate;
        uint32_t sampleRate;
        uint32_t frameLength;
        uint32_t sideInformation;
    } cases[] = {
        {MpegHeader(0xFB, 0x92, 0x00), 128000, 44100, 418, 36}, // padded
        {MpegHeader(0xFB, 0x94, 0xC0), 128000, 48000, 384, 21},
        {MpegHeader(0xF3, 0x84, 0x00), 64000, 24000, 192, 21},  // MPEG-2
        {MpegHeader(0xE3, 0x84, 0xC0), 64000, 12000, 384, 13},  // MPEG-2.5
        {MpegHeader(0xFD, 0x90, 0x00), 160000, 44100, 522, 36}, // Layer II
        {MpegHeader(0xFF, 0x90, 0x00), 288000, 44100, 312, 36}, // Layer I
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(MpegFrameHeader::IsFrameHeader(c.header.data()));
        const MpegFrameHeader header(c.header.data());
        EXPECT_EQ(header.GetBitRate(), c.bitRate);
        EXPECT_EQ(header.GetSampleRate(), c.sampleRate);
        EXPECT_EQ(header.FrameLength(), c.frameLength);
        EXPECT_EQ(header.SideInformationOffset(), c.sideInformation);
    }
    for (const Bytes& invalid :
         {MpegHeader(0xEB, 0x90, 0), MpegHeader(0xF9, 0x90, 0), MpegHeader(0xFB, 0xF0, 0),
          MpegHeader(0xFB, 0x9C, 0), MpegHeader(0xFB, 0x90, 0x02), Bytes{0xFE, 0xFB, 0x90, 0}})
        EXPECT_FALSE(MpegFrameHeader::IsFrameHeader(invalid.data()));
}

TEST(MpegInfo, AudioCrc16) {
    const Bytes check = Text("123456789");
    EXPECT_EQ(MpegAudioCrc16(check.data(), 9), 0xAEE7);
    EXPECT_EQ(MpegAudioCrc16(check.data(), 2), 0xFFFF);
}

} // namespace
