#include "remote/PayloadPacking.h"

#include "TestBytes.h"
#include "foundation/ByteOrder.h"
#include "remote/LzwCoder.h"
#include "remote/NibbleCoder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace payloadpacking;

namespace {

// 12-bit codes, most significant bit first, as a test builds them by hand.
std::vector<uint8_t> CodeStream(const std::vector<uint16_t>& codes) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (const uint16_t code : codes) {
        bits = (bits << 12) | code;
        count += 12;
        while (count >= 8) {
            count -= 8;
            out.push_back(static_cast<uint8_t>(bits >> count));
        }
    }
    if (count > 0)
        out.push_back(static_cast<uint8_t>(bits << (8 - count)));
    return out;
}

} // namespace

TEST(PayloadPackingTest, LzwOfAbcIsClearTheThreeBytesAndEnd) {
    std::vector<uint8_t> packed;
    ASSERT_EQ(CompressBuffer(kMethodLzw, Bytes("abc"), packed), 8);
    EXPECT_EQ(packed, (std::vector<uint8_t>{0x10, 0x00, 0x61, 0x06, 0x20, 0x63, 0x10, 0x10}));
    EXPECT_EQ(packed, CodeStream({256, 97, 98, 99, 257}));
}

TEST(PayloadPackingTest, InputsUnder61BytesSkipTheNibbleStage) {
    const std::vector<uint8_t> sixty(60, 'x');
    const std::vector<uint8_t> packed = PackNibbleLzw(sixty);
    EXPECT_EQ(LoadLE32(packed.data()), 0xFFFFFFFFu);
    // From 61 bytes on the nibble stage is tried; 62 bytes of one value make a block of 30 + 31.
    const std::vector<uint8_t> sixtyTwo(62, 'x');
    EXPECT_EQ(LoadLE32(PackNibbleLzw(sixtyTwo).data()), 61u);
}

TEST(PayloadPackingTest, OneRepeatedByteFillsTheTableAndBecomesNibble15) {
    const std::vector<uint8_t> same(1000, 'z');
    const NibbleCoder::Table table = NibbleCoder::BuildNibbleTable(same);
    for (const uint8_t value : table)
        EXPECT_EQ(value, 'z');
    const std::vector<uint8_t> block = NibbleCoder::NibbleEncode(same);
    ASSERT_EQ(block.size(), 30u + 500u);
    for (size_t i = 30; i < block.size(); ++i)
        ASSERT_EQ(block[i], 0xFF) << i;
}

TEST(PayloadPackingTest, NibbleCodesFollowTheRanks) {
    // 'a' is rank 1; 'b' and '~' tie and the lower value goes first; once no count is left every
    // further rank repeats '~', so '~' ends with the last one-nibble code, 15.
    const std::vector<uint8_t> block = NibbleCoder::NibbleEncode(Bytes("aaab~"));
    EXPECT_EQ(block[0], 'a');
    EXPECT_EQ(block[1], 'b');
    for (size_t rank = 3; rank <= 30; ++rank)
        EXPECT_EQ(block[rank - 1], '~') << rank;
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 30, block.end()),
              (std::vector<uint8_t>{0x11, 0x12, 0xF0}));

    // 'g' is rank 1, '0' to '9' and 'a' to 'd' ranks 2 to 15 (one nibble), 'e' rank 16 (0, 1), and 'f'
    // holds ranks 17 to 30, keeping the last two-nibble code (0, 15).
    const std::vector<uint8_t> seventeen = Bytes("0123456789abcdefgg");
    const std::vector<uint8_t> coded = NibbleCoder::NibbleEncode(seventeen);
    EXPECT_EQ(std::vector<uint8_t>(coded.begin() + 30, coded.end()),
              (std::vector<uint8_t>{0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x0F, 0x11}));

    // With 31 values, the last is unranked and goes as 0, 0, then its two halves.
    std::vector<uint8_t> thirtyOne(31);
    for (size_t i = 0; i < thirtyOne.size(); ++i)
        thirtyOne[i] = static_cast<uint8_t>(i);
    const std::vector<uint8_t> literal = NibbleCoder::NibbleEncode(thirtyOne);
    ASSERT_EQ(literal.size(), 30u + 25u);
    EXPECT_EQ(std::vector<uint8_t>(literal.end() - 3, literal.end()),
              (std::vector<uint8_t>{0xF0, 0x01, 0xE0}));

    for (const auto& input : {Bytes("aaab~"), seventeen, thirtyOne}) {
        const std::vector<uint8_t> encoded = NibbleCoder::NibbleEncode(input);
        const auto decoded = NibbleCoder::NibbleDecode(encoded, static_cast<uint32_t>(input.size()));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, input);
        EXPECT_FALSE(NibbleCoder::NibbleDecode(encoded, static_cast<uint32_t>(input.size() + 2)));
    }
}

TEST(PayloadPackingTest, EveryMethodGivesBackWhatItPacked) {
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "\\Rock\\Artist " + std::to_string(i % 97) + "\\Album\\Title.mp3?" + std::to_string(i) + ":";
    const std::vector<std::vector<uint8_t>> inputs = {
        {},
        Bytes("a"),
        Bytes("abc"),
        std::vector<uint8_t>(61, 0),
        RandomBytes(5000, 1),
        RandomBytes(200000, 2, 40), // a small alphabet: the nibble stage pays
        RandomBytes(100000, 3, 4),  // long runs: many dictionary clears
        Bytes(text),
    };
    for (const int method : {kMethodLzw, kMethodNibble, kMethodNibbleLzw}) {
        for (const auto& input : inputs) {
            std::vector<uint8_t> packed;
            ASSERT_GE(CompressBuffer(method, input, packed), 0);
            EXPECT_LE(packed.size(), 2 * input.size() + 34) << method;
            const auto back = DecompressBuffer(method, packed, static_cast<uint32_t>(input.size()));
            ASSERT_TRUE(back) << "method " << method << ", " << input.size() << " bytes";
            EXPECT_EQ(*back, input) << method;
        }
    }
}

TEST(PayloadPackingTest, RefusesUnknownMethods) {
    std::vector<uint8_t> packed;
    EXPECT_EQ(CompressBuffer(1, Bytes("abc"), packed), -1);
    EXPECT_EQ(CompressBuffer(5, Bytes("abc"), packed), -1);
    EXPECT_FALSE(DecompressBuffer(0, Bytes("abc"), 3));
}

TEST(PayloadPackingTest, DamagedLzwStreamsGiveNothing) {
    const struct {
        std::vector<uint16_t> codes;
        uint32_t length;
        bool sound;
        const char* why;
    } cases[] = {
        {{256, 97, 98, 99, 257}, 3, true, "sound"},
        {{256, 97, 258, 257}, 3, true, "the code being defined: a, then a + a"},
        {{256, 97, 98, 99, 257}, 4, false, "a total short of the length"},
        {{256, 97, 98, 99, 257}, 2, false, "output past the length"},
        {{256, 97, 98, 99}, 3, false, "no end code"},
        {{256, 97, 300, 257}, 3, false, "a code beyond the dictionary"},
        {{256, 258, 257}, 2, false, "a string code first after a clear"},
    };
    for (const auto& example : cases) {
        const auto decoded = LzwCoder::LzwDecode(CodeStream(example.codes), example.length);
        EXPECT_EQ(decoded.has_value(), example.sound) << example.why;
    }
    EXPECT_EQ(LzwCoder::LzwDecode(CodeStream({256, 97, 258, 257}), 3), Bytes("aaa"));
}

TEST(PayloadPackingTest, AFullDictionaryMustBeClearedBeforeMoreIsDefined) {
    // After a clear, 3839 codes define the 3838 strings 258 to 4095; one code more would define past
    // the last.
    std::vector<uint16_t> codes = {256};
    for (int i = 0; i < 3840; ++i)
        codes.push_back(static_cast<uint16_t>('a' + i % 2));
    codes.push_back(257);
    EXPECT_FALSE(LzwCoder::LzwDecode(CodeStream(codes), 3840));
    codes.pop_back();
    codes.pop_back();
    codes.push_back(257);
    EXPECT_TRUE(LzwCoder::LzwDecode(CodeStream(codes), 3839));
}

TEST(PayloadPackingTest, AMessageIsPackedOnlyWhenThatMakesItSmaller) {
    EXPECT_FALSE(PackMessage(RandomBytes(2000, 4)));
    EXPECT_FALSE(PackMessage(Bytes("abc")));
    const std::vector<uint8_t> repetitive(10000, 'q');
    const auto packed = PackMessage(repetitive);
    ASSERT_TRUE(packed);
    EXPECT_EQ(LoadLE32(packed->data()), 10000u);
    const auto unpacked = UnpackMessage(*packed);
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(*unpacked, repetitive);
}

TEST(PayloadPackingTest, UnpackingChecksTheClaimedLength) {
    std::vector<uint8_t> packed = *PackMessage(std::vector<uint8_t>(10000, 'q'));
    StoreLE32(packed.data(), 10001);
    EXPECT_FALSE(UnpackMessage(packed));
    StoreLE32(packed.data(), 1000000000);
    EXPECT_FALSE(UnpackMessage(packed)) << "beyond the cap";
    StoreLE32(packed.data(), 0);
    EXPECT_EQ(UnpackMessage(packed), std::vector<uint8_t>());
    StoreLE32(packed.data(), 0x80000000u);
    EXPECT_EQ(UnpackMessage(packed), std::vector<uint8_t>()) << "a negative length counts as none";
    EXPECT_FALSE(UnpackMessage(Bytes("abc"))) << "no room for the length";
}
