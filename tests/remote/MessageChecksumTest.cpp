#include "remote/MessageChecksum.h"

#include <gtest/gtest.h>
#include <vector>

// The expected values are worked out by hand from the rule: sum the little-endian 16-bit words into a
// wrapping 32-bit signed accumulator, fold twice with arithmetic shifts, complement, send 0 as 1.
TEST(MessageChecksumTest, MatchesTheRuleWorkedByHand) {
    const struct {
        std::vector<uint8_t> data;
        uint16_t checksum;
        const char* why;
    } cases[] = {
        {{0xD4, 0x88, 0x01, 0x00}, 30506, "the empty request word 100564"},
        {{0x00, 0x00, 0x00, 0x00}, 65535, "the empty answer word 0"},
        {{0xDB, 0xDC, 0xFF, 0xFF}, 8996, "the busy word -8997: the fold carries"},
        {{0xFF, 0xFF}, 1, "a complement of 0 goes as 1"},
        {{0x68, 0x69, 0x21}, 38551, "a last odd byte is left out"},
        {{}, 65535, "nothing to sum"},
    };
    for (const auto& example : cases)
        EXPECT_EQ(MessageChecksum(example.data), example.checksum) << example.why;
}

TEST(MessageChecksumTest, FoldsANegativeSumWithArithmeticShifts) {
    // 65536 words of 0xFFFF and one of 0xFFFE sum to 0xFFFFFFFE, -2 as a signed number: the folds give
    // (-1) + 0xFFFE = 0xFFFD, whose complement is 2 (a logical shift would give 1).
    std::vector<uint8_t> data(2 * 65537, 0xFF);
    data[0] = 0xFE;
    EXPECT_EQ(MessageChecksum(data), 2);
}
