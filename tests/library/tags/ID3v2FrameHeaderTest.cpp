#include "library/tags/ID3v2FrameHeader.h"

#include <gtest/gtest.h>
#include <vector>

using Bytes = std::vector<uint8_t>;
using SizeForm = ID3v2FrameHeader::SizeForm;

// Each version writes its own size form, and reads back what it wrote.
TEST(ID3v2FrameHeaderTest, RendersAndParsesEachVersionsSizeForm) {
    const struct {
        int version;
        const char* id;
        Bytes bytes;
    } cases[] = {
        {2, "PIC", {'P', 'I', 'C', 0x01, 0x02, 0x03}},
        {3, "APIC", {'A', 'P', 'I', 'C', 0x00, 0x01, 0x02, 0x03, 0, 0x40}},
        {4, "APIC", {'A', 'P', 'I', 'C', 0x00, 0x04, 0x04, 0x03, 0, 0x40}},
    };
    for (const auto& c : cases) {
        const ID3v2FrameHeader header(c.id, 0x010203, c.version == 2 ? 0 : 0x40);
        EXPECT_EQ(header.Render(c.version), c.bytes) << "version " << c.version;
        const auto parsed =
            ID3v2FrameHeader::Parse(c.bytes.data(), c.version, ID3v2FrameHeader::WrittenForm(c.version));
        ASSERT_TRUE(parsed) << "version " << c.version;
        EXPECT_TRUE(parsed->Is(c.id));
        EXPECT_EQ(parsed->Size(), 0x010203u);
        EXPECT_EQ(parsed->FormatFlags(), header.FormatFlags());
    }
    EXPECT_EQ(ID3v2FrameHeader::MaxSize(2), 0xFFFFFFu);
    EXPECT_EQ(ID3v2FrameHeader::MaxSize(3), 0xFFFFFFFFu);
    EXPECT_EQ(ID3v2FrameHeader::MaxSize(4), 0x0FFFFFFFu);
}

TEST(ID3v2FrameHeaderTest, ASizeWithHighBitsIsNoSynchsafeSize) {
    const Bytes bytes{'T', 'I', 'T', '2', 0x00, 0x00, 0x01, 0x80, 0, ID3v2FrameHeader::kV24Unsynchronised};
    EXPECT_FALSE(ID3v2FrameHeader::Parse(bytes.data(), 4, SizeForm::Synchsafe));
    const auto plain = ID3v2FrameHeader::Parse(bytes.data(), 4, SizeForm::Plain);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Size(), 0x180u);
    EXPECT_TRUE(plain->Has(ID3v2FrameHeader::kV24Unsynchronised));
}
