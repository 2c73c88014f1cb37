#include "remote/WireBase64.h"

#include "foundation/Base64Coder.h"

#include <gtest/gtest.h>
#include <random>
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
    std::mt19937 random(7);
    for (size_t length : {0u, 1u, 2u, 3u, 4u, 5u, 1535u, 1536u, 1537u, 100000u}) {
        std::vector<uint8_t> data(length);
        for (auto& byte : data)
            byte = static_cast<uint8_t>(random());
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
