// Raw AAC files (".aac") built frame by frame; the real-tool file is among the tag fixtures.
#include "TagTestBytes.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/ID3.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tagtest;

namespace {

constexpr int k44100 = 4;
constexpr int k8000 = 11;

Bytes Frames(int count, int rateIndex, size_t length, int blocks = 1, bool protectedByCrc = false) {
    Bytes all;
    for (int i = 0; i < count; ++i) {
        const Bytes frame = AdtsFrame(rateIndex, length, blocks, protectedByCrc);
        all.insert(all.end(), frame.begin(), frame.end());
    }
    return all;
}

Bytes FirstBytes(const Bytes& bytes, size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

struct Range {
    uint64_t start = 0;
    uint64_t end = 0;
};

Range AudioRange(const ID3& tags) {
    Range range;
    EXPECT_EQ(tags.GetAudioRange(range.start, range.end), 1);
    return range;
}

} // namespace

TEST(AdtsReader, EveryFrameCountsTowardsDurationAndBitRate) {
    struct Case {
        const char* what;
        Bytes file;
        uint32_t duration;
        uint32_t bitRate;
        uint64_t audioEnd;
    };
    // 50 frames of 2048 samples at 44100 Hz: 2.32 s; 400 bytes a frame: 68.9 kbit/s.
    const Case cases[] = {
        {"plain", Frames(50, k44100, 400, 2), 2, 68, 50 * 400 - 1},
        {"with CRC", Frames(50, k44100, 400, 2, true), 2, 68, 50 * 400 - 1},
        // Rates that change between frames: 12288 samples at 8000 Hz, then 2048 at 44100 Hz: 1.58 s, 1100
        // bytes.
        {"two rates", Concat({Frames(8, k8000, 100, 1), Frames(1, k8000, 100, 4), Frames(1, k44100, 200, 2)}),
         1, 5, 1099},
        // A last frame the file cuts short, and an ID3v1 block after whole frames, end the audio.
        {"cut short", Concat({Frames(10, k44100, 300), FirstBytes(AdtsFrame(k44100, 300), 150)}), 0, 0, 2999},
        {"ID3v1 after", Concat({Frames(10, k44100, 300), ID3v1("T", "A", "B", "2001", "", 1, 1)}), 0, 0, 2999},
    };
    TempDir dir;
    for (const Case& c : cases) {
        ID3 tags;
        ASSERT_EQ(ReadBytesAs(dir.File("song.aac"), c.file, tags), 0) << c.what;
        EXPECT_EQ(tags.GetDuration(), c.duration) << c.what;
        if (c.bitRate != 0) {
            EXPECT_EQ(tags.GetBitRate(), c.bitRate) << c.what;
        }
        EXPECT_EQ(AudioRange(tags).end, c.audioEnd) << c.what;
        EXPECT_EQ(TextOf(&ID3::GetExtension, tags), AString("aac"));
    }
}

TEST(AdtsReader, TheTagInFrontGivesTheNamesAndTheFramesFollowIt) {
    const Bytes tag = Tag(3, Concat({TextFrame(3, "TIT2", "Title"), TextFrame(3, "TPE1", "Artist")}));
    // Bytes that only look like a frame's start stand between the tag and the first frame.
    const Bytes stray = {0xFF, 0xF1, 0x50, 0x80, 0x02, 0x1F, 0xFC, 0x00};
    TempDir dir;
    ID3 tags;
    ASSERT_EQ(ReadBytesAs(dir.File("Tagged.AAC"), Concat({tag, stray, Frames(44, k8000, 50)}), tags), 0);
    EXPECT_EQ(TextOf(&ID3::GetTitle, tags), AString("Title"));
    EXPECT_EQ(TextOf(&ID3::GetArtist, tags), AString("Artist"));
    EXPECT_EQ(tags.GetDuration(), 5u); // 44 x 1024 samples at 8000 Hz: 5.6 s
    EXPECT_EQ(tags.GetBitRate(), 3u);  // 2200 bytes in 5.6 s
    const Range range = AudioRange(tags);
    EXPECT_EQ(range.start, tag.size());
    EXPECT_EQ(range.end, tag.size() + stray.size() + 44 * 50 - 1);
}

TEST(AdtsReader, AFileWithoutFramesIsNoSong) {
    TempDir dir;
    for (const Bytes& file : {Text("not a song at all, only text"), Concat({Tag(3, TextFrame(3, "TIT2", "T"))}),
                              FirstBytes(AdtsFrame(k44100, 300), 100)}) {
        ID3 tags;
        EXPECT_EQ(ReadBytesAs(dir.File("none.aac"), file, tags), kErrorNoMpegFrame);
    }
}
