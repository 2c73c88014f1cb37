#include "foundation/ACrc32.h"
#include "foundation/Base64Coder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(ACrc32, StandardCheckValues) {
    ACrc32 crc;
    EXPECT_EQ(crc.GetValue(), 0u);
    crc.Update("123456789", 9);
    EXPECT_EQ(crc.GetValue(), 0xCBF43926u);
    EXPECT_EQ(crc.GetValue(), 0xCBF43926u);
    crc.Reset();
    const std::string fox = "The quick brown fox jumps over the lazy dog";
    crc.Update(fox.data(), 10);
    crc.Update(fox.data() + 10, static_cast<uint32_t>(fox.size() - 10));
    EXPECT_EQ(crc.GetValue(), 0x414FA339u);
}

TEST(ACrc32, TextIsItsUtf16LittleEndianBytes) {
    const AString text(u"Ça");
    const uint8_t bytes[] = {0xC7, 0x00, 'a', 0x00};
    ACrc32 fromText, fromBytes;
    fromText.Update(text);
    fromBytes.Update(bytes, sizeof bytes);
    EXPECT_EQ(fromText.GetValue(), fromBytes.GetValue());
}

TEST(Base64Coder, StandardVectors) {
    const struct {
        const char* plain;
        const char* encoded;
    } cases[] = {{"", ""},
                 {"f", "Zg=="},
                 {"fo", "Zm8="},
                 {"foo", "Zm9v"},
                 {"foob", "Zm9vYg=="},
                 {"fooba", "Zm9vYmE="},
                 {"foobar", "Zm9vYmFy"}};
    Base64Coder coder;
    for (const auto& c : cases) {
        coder.EncodeText(c.plain);
        EXPECT_STREQ(coder.GetEncoded(), c.encoded);
        EXPECT_EQ(coder.GetEncodedLength(), std::strlen(c.encoded));
    }
}

TEST(Base64Coder, DecodingDropsWhiteSpaceAndCountsPadding) {
    Base64Coder coder;
    coder.DecodeText("YW\r\nJj");
    ASSERT_EQ(coder.GetDecodedLength(), 3u);
    EXPECT_EQ(std::memcmp(coder.GetDecoded(), "abc", 3), 0);
    coder.DecodeText("YQ==");
    ASSERT_EQ(coder.GetDecodedLength(), 3u);
    EXPECT_EQ(coder.GetDecoded()[0], 'a');
    EXPECT_EQ(coder.GetDecoded()[1], 0);
}

TEST(Base64Coder, BuffersGrowInPagesAndRoundTripBinary) {
    std::string data(3000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    Base64Coder coder;
    coder.Encode(data.data(), static_cast<uint32_t>(data.size()));
    EXPECT_EQ(coder.GetEncodedCapacity(), 8192u);
    EXPECT_EQ(coder.GetEncodedLength(), 4000u);
    EXPECT_EQ(coder.GetEncoded()[4000], '\0');
    const std::string encoded(coder.GetEncoded(), coder.GetEncodedLength());
    Base64Coder decoder;
    decoder.Decode(encoded.data(), static_cast<uint32_t>(encoded.size()));
    ASSERT_EQ(decoder.GetDecodedLength(), 3000u);
    EXPECT_EQ(std::memcmp(decoder.GetDecoded(), data.data(), data.size()), 0);
}

TEST(Base64Coder, PaddingCountsAsZeroOnlyInTheLastTwoPlaces) {
    const struct {
        const char* text;
        std::vector<uint8_t> decoded;
    } cases[] = {
        {"Zg==", {'f', 0, 0}},
        {"Zm8", {'f', 'o', 0x00}},    // a last group of three characters gives three bytes
        {"=AAA", {0xFC, 0x00, 0x00}}, // "=" first enters as its table value 0xFF
        {"A=AA", {0x0F, 0xF0, 0x00}}, // and second too
        {"Zg", {'f', 0x00}},
    };
    Base64Coder coder;
    for (const auto& c : cases) {
        coder.DecodeText(c.text);
        EXPECT_EQ(std::vector<uint8_t>(coder.GetDecoded(), coder.GetDecoded() + coder.GetDecodedLength()),
                  c.decoded)
            << c.text;
    }
}
