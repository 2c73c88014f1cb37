#include "platform/text/TextCodec.h"

#include <gtest/gtest.h>

using namespace textcodec;

// System text is UTF-8 where it decodes; every other byte keeps its value in a reserved code point.
TEST(TextCodec, SystemEightBitDecodesUtf8AndKeepsOtherBytes) {
    const struct {
        const char* what;
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"valid UTF-8", "Caf\xC3\xA9 \xF0\x9F\x8E\xB5", u"Caf\u00E9 \U0001F3B5"},
        {"Latin-1", "Caf\xE9", u"Caf\xDCE9"},
        {"a sequence cut short", "a\xC3", u"a\xDCC3"},
        {"a broken sequence", "\xE2\x82x\x80", u"\xDCE2\xDC82x\xDC80"},
        {"an overlong form", "\xC0\xAF", u"\xDCC0\xDCAF"},
        {"the UTF-8 form of a reserved code point", "\xED\xB3\xA9", u"\xDCED\xDCB3\xDCA9"},
        {"a zero byte inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeSystem8Bit(c.bytes), c.text) << c.what;
        EXPECT_EQ(EncodeSystem8Bit(c.text), c.bytes) << c.what;
    }
}

TEST(TextCodec, EveryByteStringComesBackWhole) {
    // Every string of one or two bytes, and the three-byte ones that begin a longer sequence.
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            std::string bytes(1, static_cast<char>(first));
            if (second >= 0)
                bytes += static_cast<char>(second);
            ASSERT_EQ(EncodeSystem8Bit(DecodeSystem8Bit(bytes)), bytes);
            if (first >= 0xE0 && second >= 0) {
                for (const char third : {'\x80', '\xBF', 'a'})
                    ASSERT_EQ(EncodeSystem8Bit(DecodeSystem8Bit(bytes + third)), bytes + third);
            }
        }
    }
}

TEST(TextCodec, ReservedCodePointsAreNoUtf8Text) {
    const std::u16string latinName = DecodeSystem8Bit("Caf\xE9");
    EXPECT_EQ(EncodeUtf8(latinName), "Caf\xEF\xBF\xBD") << "valid UTF-8 for formats that need it";
    EXPECT_EQ(EncodeSystem8Bit(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD")
        << "a surrogate that stands for no byte";
    EXPECT_EQ(EncodeSystem8Bit(std::u16string(1, char16_t(0xDC7F))), "\xEF\xBF\xBD");
}

TEST(TextCodec, Windows1252FillsTheGapOfLatin1) {
    EXPECT_EQ(DecodeWindows1252("Caf\xE9 \x80 \x9F \x81"), u"Café € Ÿ \u0081");
}

TEST(TextCodec, InvalidUtf8BecomesReplacementCharacters) {
    const struct {
        const char* bytes;
        const char16_t* text;
    } cases[] = {
        {"a\xC3", u"a\uFFFD"},                   // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // a surrogate
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(IsValidUtf8(c.bytes), EncodeUtf8(c.text) == c.bytes);
    }
}

TEST(TextCodec, Utf8RoundTripKeepsSurrogatePairsAndReplacesLoneOnes) {
    EXPECT_EQ(EncodeUtf8(u"\U0001F3B5 é"), "\xF0\x9F\x8E\xB5 \xC3\xA9");
    EXPECT_EQ(EncodeUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}
