#include "remote/FoundHost.h"

#include "foundation/ByteOrder.h"
#include "remote/FoundHostTable.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr uint32_t kThisComputer = 0x7F000001; // 127.0.0.1

FoundHost Host(const std::string& name, const std::string& address, uint16_t port = 0) {
    return FoundHost{name, address, port};
}

} // namespace

TEST(FoundHostTest, TheRecordIs172BytesOfNameAddressAndPort) {
    std::array<uint8_t, FoundHost::kRecordSize> record;
    record.fill(0xEE);
    Host("box.local", "10.0.0.7", 5000).Write(record);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data())), "box.local");
    EXPECT_EQ(record[9], 0);
    EXPECT_EQ(record[149], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data() + 150)), "10.0.0.7");
    EXPECT_EQ(record[169], 0);
    EXPECT_EQ(LoadLE16(record.data() + 170), 5000);
    FoundHost read;
    ASSERT_TRUE(read.Read(record));
    EXPECT_EQ(read.name, "box.local");
    EXPECT_EQ(read.address, "10.0.0.7");
    EXPECT_EQ(read.port, 5000);
}

TEST(FoundHostTest, ReadingNeverRunsPastAFieldAndRefusesWhatIsNoAddress) {
    std::array<uint8_t, FoundHost::kRecordSize> record;
    record.fill('n');
    std::memcpy(record.data() + 150, "192.168.1.20", 13);
    FoundHost read;
    ASSERT_TRUE(read.Read(record));
    EXPECT_EQ(read.name, std::string(149, 'n')) << "a name without its NUL is cut to 149 bytes";
    for (const char* address : {"box.local", "1.2.3", "1.2.3.256", "1.2.3.4 ", "", "0x7f.0.0.1"}) {
        record.fill(0);
        std::memcpy(record.data() + 150, address, std::strlen(address));
        FoundHost untouched = Host("kept", "10.0.0.1");
        EXPECT_FALSE(untouched.Read(record)) << address;
        EXPECT_EQ(untouched.name, "kept");
    }
    record.fill('1'); // an address field without a NUL
    EXPECT_FALSE(read.Read(record));
}

TEST(FoundHostTest, ASecondHostOfTheSameNameGetsAnUnderscore) {
    FoundHostTable table;
    EXPECT_EQ(table.Add(Host("box.local", "10.0.0.5"), kThisComputer).index, 0);
    const auto second = table.Add(Host("box.local", "10.0.0.6"), kThisComputer);
    EXPECT_EQ(second.index, 1);
    EXPECT_TRUE(second.appended);
    EXPECT_EQ(table.GetName(1), "box.local_");
    EXPECT_EQ(table.Add(Host("box.local", "10.0.0.9"), kThisComputer).index, 2);
    EXPECT_EQ(table.GetName(2), "box.local__");
    // The same address and port again only takes the new name.
    const auto again = table.Add(Host("renamed", "10.0.0.6"), kThisComputer);
    EXPECT_EQ(again.index, 1);
    EXPECT_FALSE(again.appended);
    EXPECT_EQ(table.GetName(1), "renamed");
    EXPECT_EQ(table.Count(), 3);
}

TEST(FoundHostTest, RefusesThisComputerBadAddressesAndAFullTable) {
    FoundHostTable table;
    EXPECT_EQ(table.Add(Host("me", "127.0.0.1"), kThisComputer).index, -1);
    EXPECT_EQ(table.Add(Host("other", "10.0.0.2"), std::nullopt).index, -1) << "no address of our own";
    EXPECT_EQ(table.Add(Host("x", "10.0.0.256"), kThisComputer).index, -1);
    EXPECT_EQ(table.Add(Host("x", "server.example"), kThisComputer).index, -1);
    EXPECT_EQ(table.Count(), 0);
    for (size_t i = 0; i < FoundHostTable::kMaxHosts; ++i)
        ASSERT_GE(table
                      .Add(Host("h" + std::to_string(i),
                                "10.1." + std::to_string(i / 250) + "." + std::to_string(i % 250)),
                           kThisComputer)
                      .index,
                  0);
    EXPECT_EQ(table.Add(Host("one more", "10.2.0.1"), kThisComputer).index, -1);
    EXPECT_EQ(table.Count(), static_cast<int>(FoundHostTable::kMaxHosts));
}

TEST(FoundHostTest, NamesStayInsideTheirField) {
    FoundHostTable table;
    const std::string longest(FoundHost::kMaxNameLength, 'x');
    EXPECT_EQ(table.Add(Host(longest + "yyy", "10.0.0.1"), kThisComputer).index, 0);
    EXPECT_EQ(table.GetName(0), longest);
    EXPECT_EQ(table.Add(Host(longest, "10.0.0.2"), kThisComputer).index, -1)
        << "no room left for an underscore";
    EXPECT_EQ(table.Count(), 1);
}

TEST(FoundHostTest, AHostFoundOnAPortKeepsIt) {
    FoundHostTable table;
    table.Add(Host("box", "10.0.0.5", 5000), kThisComputer);
    table.Add(Host("plain", "10.0.0.6"), kThisComputer);
    EXPECT_EQ(table.FindPort("10.0.0.5"), 5000);
    EXPECT_EQ(table.FindPort("10.0.0.6"), 0);
    EXPECT_EQ(table.FindPort("10.0.0.7"), 0);
    EXPECT_EQ(table.GetAddress(5), "");
}
