#include "app/state/HostListStore.h"
#include "foundation/ByteOrder.h"
#include "support/TempDir.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Record(const std::string& name, const std::string& address, uint16_t port) {
    std::vector<uint8_t> bytes(FoundHost::kRecordSize, 0);
    std::memcpy(bytes.data(), name.data(), std::min(name.size(), FoundHost::kNameSize));
    std::memcpy(bytes.data() + FoundHost::kNameSize, address.data(), address.size());
    StoreLE16(bytes.data() + FoundHost::kNameSize + FoundHost::kAddressSize, port);
    return bytes;
}

std::vector<uint8_t> List(uint32_t count, const std::vector<std::vector<uint8_t>>& records) {
    std::vector<uint8_t> bytes(4);
    StoreLE32(bytes.data(), count);
    for (const auto& record : records)
        bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

class HostListStoreTest : public testing::Test {
protected:
    HostListStore Store() const { return HostListStore(AString(m_dir.Path())); }

    TempDir m_dir;
};

TEST_F(HostListStoreTest, AHostileListYieldsOnlyTheRecordsPresent) {
    WriteBytes(m_dir.File("7.hosts"),
               List(0xFFFFFFFF, {Record("studio", "10.0.0.2", 0), Record("bad", "no address", 0),
                                 Record(std::string(200, 'n'), "10.0.0.3", 2000)}));
    const std::vector<FoundHost> hosts = Store().Load(AString("7"), false);
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(hosts[0].name, "studio");
    EXPECT_EQ(hosts[1].name, std::string(FoundHost::kMaxNameLength, 'n'));
    EXPECT_EQ(hosts[1].port, 2000);
    EXPECT_TRUE(std::filesystem::exists(m_dir.File("7.hosts")));
}

TEST_F(HostListStoreTest, AShortOrMissingListHasNoHostsAndIsRemovedWhenAsked) {
    WriteBytes(m_dir.File("8.hosts"), {1, 0});
    EXPECT_TRUE(Store().Load(AString("8"), true).empty());
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("8.hosts")));
    EXPECT_TRUE(Store().Load(AString("9"), true).empty());
}

TEST_F(HostListStoreTest, ANameFromTheNetworkNamesNoFileOutsideTheFolder) {
    EXPECT_EQ(Store().PathOf(AString("../../x")).ToUtf8(), m_dir.File("___.._x.hosts"));
}

TEST_F(HostListStoreTest, KnownHostsKeepTheOldOnesNotSeenAgain) {
    const HostListStore store = Store();
    ASSERT_EQ(store.SaveKnown(std::vector<FoundHost>{{"a", "10.0.0.1", 0}, {"b", "10.0.0.2", 0}}), 0);
    ASSERT_EQ(store.SaveKnown(std::vector<FoundHost>{{"c", "10.0.0.3", 0}, {"a", "10.0.0.9", 0}}), 0);
    std::vector<std::string> names;
    for (const FoundHost& host : store.Load(AString(HostListStore::kKnownHostsName), false))
        names.push_back(host.name + "@" + host.address);
    EXPECT_EQ(names, (std::vector<std::string>{"c@10.0.0.3", "a@10.0.0.9", "b@10.0.0.2"}));
    // Replaced through a new file: nothing else is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);
}

} // namespace
