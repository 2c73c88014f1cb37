#include "platform/text/TextCodec.h"

#include <gtest/gtest.h>

using namespace textcodec;

TEST(TextCodec, SystemEightBitPrefersUtf8AndFallsBackToWindows1252) {
    EXPECT_EQ(DecodeSystem8Bit("Caf\xC3\xA9"), u"Café");
    EXPECT_EQ(DecodeSystem8Bit("Caf\xE9"), u"Café");
    EXPECT_EQ(DecodeSystem8Bit("\x80 \x9F"), u"€ Ÿ");
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
