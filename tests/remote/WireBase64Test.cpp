#include "remote/WireBase64.h"

#include "TestBytes.h"
#include "foundation/Base64Coder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Encoded(const std::vector<uint8_t>& data) {
    std::string text(wirebase64::EncodedLength(data.size()), '\0');
    wirebase64::Encode(data, reinterpret_cast<uint8_t*>(text.data()));
    return text;
}

long DecodedCount(const std::string& text, std::vector<uint8_t>& out) {
    out.assign(text.size() / 4 * 3 + 3, 0);
    const long count =
        wirebase64::Decode(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), out.data());
    if (count >= 0)
        out.resize(count);
    return count;
}

} // namespace

// The foundation's coder is an independent implementation of the same alphabet and padding.
TEST(WireBase64Test, AgreesWithTheFoundationCoderBothWays) {
    std::vector<size_t> lengths = {1535, 1536, 1537, 100000};
    for (size_t length = 0; length < 200; ++length)
        lengths.push_back(length);
    for (const size_t length : lengths) {
        const std::vector<uint8_t> data = RandomBytes(length, static_cast<unsigned>(length));
        Base64Coder reference;
        reference.Encode(data.data(), static_cast<uint32_t>(data.size()));
        const std::string text = Encoded(data);
        EXPECT_EQ(text, std::string(reference.GetEncoded(), reference.GetEncodedLength())) << length;
        std::vector<uint8_t> back;
        ASSERT_EQ(DecodedCount(text, back), static_cast<long>(length));
        EXPECT_EQ(back, data);
    }
}

TEST(WireBase64Test, RefusesWhatTheLenientCoderWouldLetThrough) {
    std::vector<uint8_t> out;
    EXPECT_EQ(DecodedCount("QUJD", out), 3);
    EXPECT_EQ(DecodedCount("QQ==", out), 1);
    EXPECT_EQ(DecodedCount("QUI=", out), 2);
    for (const char* hostile :
         {"QUJ", "QU JD", "QU\nJD", "QU=D", "=QJD", "QQ==QUJD", "QUJ-", "QUJD====", "Q===", "QUJ\x80"}) {
        EXPECT_EQ(DecodedCount(hostile, out), -1) << hostile;
    }
}

// Long texts go through the wide path 16 characters at a time: a bad character anywhere, of any value,
// must still be caught.
TEST(WireBase64Test, FindsABadCharacterAnywhereInALongText) {
    const std::vector<uint8_t> data = RandomBytes(72, 9);
    const std::string good = Encoded(data);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<uint8_t> out;
    for (size_t position = 0; position < good.size(); ++position) {
        for (int value = 0; value < 256; ++value) {
            std::string text = good;
            text[position] = static_cast<char>(value);
            const bool valid = alphabet.find(static_cast<char>(value)) != std::string::npos && value != 0;
            if (value == '=' && position == good.size() - 1) {
                ASSERT_EQ(DecodedCount(text, out), 71) << "padding at the very end";
            } else if (valid) {
                Base64Coder reference;
                reference.Decode(text.data(), static_cast<uint32_t>(text.size()));
                ASSERT_EQ(DecodedCount(text, out), 72) << position << " " << value;
                ASSERT_TRUE(std::equal(out.begin(), out.end(), reference.GetDecoded()))
                    << position << " " << value;
            } else {
                ASSERT_EQ(DecodedCount(text, out), -1) << position << " " << value;
            }
        }
    }
}
