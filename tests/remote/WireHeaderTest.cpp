#include "remote/WireHeader.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string HeaderText(const WireHeader& header) {
    uint8_t bytes[WireHeader::kLength];
    header.Write(bytes);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

bool ParseText(const std::string& text, WireHeader& header) {
    EXPECT_EQ(text.size(), WireHeader::kLength);
    return header.Read(std::span<const uint8_t, WireHeader::kLength>(
        reinterpret_cast<const uint8_t*>(text.data()), WireHeader::kLength));
}

} // namespace

TEST(WireHeaderTest, EndOfConnectionIsThreeZeroFieldsAZeroChecksumAndFlag00) {
    EXPECT_EQ(HeaderText(WireHeader::EndOfConnection()), "         0         0         0     000");
}

TEST(WireHeaderTest, FieldsAreRightAlignedDecimalAndTheFlagTellsPacking) {
    WireHeader header;
    header.code = -4242;
    header.rawLength = -1537;
    header.base64Length = 2048;
    header.checksum = 65535;
    header.packed = true;
    const std::string text = HeaderText(header);
    EXPECT_EQ(text, "     -4242     -1537      2048 6553501");
    WireHeader read;
    ASSERT_TRUE(ParseText(text, read));
    EXPECT_EQ(read.code, -4242);
    EXPECT_EQ(read.rawLength, -1537);
    EXPECT_EQ(read.base64Length, 2048);
    EXPECT_EQ(read.checksum, 65535);
    EXPECT_TRUE(read.packed);
}

TEST(WireHeaderTest, RefusesEveryFieldThatIsNotStrictDecimalInRange) {
    // The fields of a good header; each case replaces one of them.
    const std::string good[] = {"      1004", "         4", "         8", " 30506", "00"};
    const struct {
        int field;
        std::string text;
        const char* why;
    } cases[] = {
        {1, "        +4", "a plus sign"},
        {1, "4         ", "spaces after the digits"},
        {1, "          ", "an empty field"},
        {1, "         -", "a sign without digits"},
        {1, "       - 4", "a space after the sign"},
        {1, "      0x10", "hexadecimal"},
        {1, "1000000000", "a total of 1,000,000,000"},
        {2, "1000000000", "a Base64 length of 1,000,000,000"},
        {3, " 65536", "a checksum above 65535"},
        {3, "    -1", "a negative checksum"},
        {2, "        -8", "a negative Base64 length"},
        {0, "4294968300", "a code beyond 32 bits"},
        {0,
         std::string("     10\0"
                     "04",
                     10),
         "a NUL inside a field"},
        {4, "02", "flag 02"},
        {4, "10", "flag 10"},
    };
    const auto join = [](const std::string(&fields)[5]) {
        return fields[0] + fields[1] + fields[2] + fields[3] + fields[4];
    };
    WireHeader header;
    ASSERT_TRUE(ParseText(join(good), header));
    EXPECT_EQ(header.code, 1004);
    for (const auto& hostile : cases) {
        std::string fields[5] = {good[0], good[1], good[2], good[3], good[4]};
        ASSERT_EQ(hostile.text.size(), fields[hostile.field].size()) << hostile.why;
        fields[hostile.field] = hostile.text;
        WireHeader untouched;
        untouched.code = 7;
        EXPECT_FALSE(ParseText(join(fields), untouched)) << hostile.why;
        EXPECT_EQ(untouched.code, 7) << hostile.why;
    }
}
