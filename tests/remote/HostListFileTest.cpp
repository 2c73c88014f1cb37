#include "remote/HostListFile.h"

#include "foundation/ByteOrder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const FoundHost& a, const FoundHost& b) {
    return a.name == b.name && a.address == b.address && a.port == b.port;
}

std::vector<uint8_t> ListBytes(uint32_t count, const std::vector<FoundHost>& records) {
    std::vector<uint8_t> bytes(4 + records.size() * FoundHost::kRecordSize);
    StoreLE32(bytes.data(), count);
    for (size_t i = 0; i < records.size(); ++i)
        records[i].Write(std::span<uint8_t, FoundHost::kRecordSize>(bytes.data() + 4 + i * 172, 172));
    return bytes;
}

const std::vector<FoundHost> kHosts = {{"studio.local", "192.168.1.20", 0}, {"attic.local", "192.168.1.21", 5000}};

} // namespace

TEST(HostListFileTest, AListReadsBackAsItWasWritten) {
    TempDir dir;
    ASSERT_EQ(HostListFile::Write(dir.Text("1.hosts"), kHosts), 0);
    EXPECT_EQ(ReadBytes(dir.File("1.hosts")), ListBytes(2, kHosts));
    const std::vector<FoundHost> read = HostListFile::Read(dir.Text("1.hosts"));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_TRUE(read[0] == kHosts[0]);
    EXPECT_TRUE(read[1] == kHosts[1]);
}

TEST(HostListFileTest, ANewListReplacesALongerOneWhole) {
    TempDir dir;
    WriteBytes(dir.File("t.hosts"), ListBytes(3, {kHosts[0], kHosts[1], kHosts[1]}));
    ASSERT_EQ(HostListFile::Write(dir.Text("t.hosts"), std::span(kHosts).first(1)), 0);
    EXPECT_EQ(ReadBytes(dir.File("t.hosts")).size(), 4u + 172u) << "no bytes of the older list remain";
}

TEST(HostListFileTest, AReaderTakesOnlyWholeRecordsWithAnAddress) {
    TempDir dir;
    std::vector<uint8_t> badAddress = ListBytes(2, kHosts);
    std::fill(badAddress.begin() + 4 + 150, badAddress.begin() + 4 + 170, 'x');
    std::vector<uint8_t> cut = ListBytes(2, kHosts);
    cut.resize(cut.size() - 1);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        size_t hosts;
    } cases[] = {
        {"a count beyond the records", ListBytes(5, kHosts), 2},
        {"the largest count", ListBytes(0xFFFFFFFF, kHosts), 2},
        {"a count below the records", ListBytes(1, kHosts), 1},
        {"a record cut short", cut, 1},
        {"a record whose address is no address", badAddress, 1},
        {"a count alone", ListBytes(7, {}), 0},
        {"less than a count", {1, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File("case.hosts"), c.bytes);
        EXPECT_EQ(HostListFile::Read(dir.Text("case.hosts")).size(), c.hosts) << c.what;
    }
    EXPECT_TRUE(HostListFile::Read(dir.Text("missing.hosts")).empty());
}

TEST(HostListFileTest, AWriteIntoAMissingFolderFailsAndLeavesNothing) {
    TempDir dir;
    EXPECT_NE(HostListFile::Write(dir.Text("no/such/1.hosts"), kHosts), 0);
    EXPECT_TRUE(HostListFile::Read(dir.Text("no/such/1.hosts")).empty());
}

TEST(HostListFileTest, AHostIsListedWhenItsNameAndPortAre) {
    EXPECT_TRUE(HostListFile::Contains(kHosts, FoundHost{"attic.local", "10.9.9.9", 5000}));
    EXPECT_FALSE(HostListFile::Contains(kHosts, FoundHost{"attic.local", "192.168.1.21", 0}));
    EXPECT_FALSE(HostListFile::Contains(kHosts, FoundHost{"cellar.local", "192.168.1.20", 0}));
}
