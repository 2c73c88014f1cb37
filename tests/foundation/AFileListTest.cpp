#include "foundation/AFileList.h"

#include "foundation/AMemFile.h"
#include "foundation/FileOps.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Saved(const AFileList& list) {
    AMemFile stream;
    EXPECT_EQ(list.Serialize(stream), 0);
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

} // namespace

TEST(AFileList, EmptyListRecord) {
    EXPECT_EQ(Saved(AFileList()),
              (std::vector<uint8_t>{0x00, 0x00, 0x10, 0x00, 0x02, 0x00, 0x10, 0x00, 0x02, 0x00,
                                    0xFF, 0xFE, 0x02, 0x00, 0x10, 0x00, 0,    0,    0,    0}));
}

TEST(AFileList, EntriesCarryTheFilesTimesAndRoundTrip) {
    TempDir dir;
    WriteText(dir.File("b.mp3"), "x");
    AFileList list;
    list.SetBasePath(AString(dir.Path()));
    EXPECT_EQ(list.GetBasePath(), AString(dir.Path() + "/"));
    EXPECT_EQ(list.Add(AString("b.mp3")), 0);
    EXPECT_EQ(list.Add(AString("missing.mp3")), 1);
    EXPECT_EQ(list.GetModTime(0), GetFileModTime(dir.Text("b.mp3")));
    EXPECT_EQ(list.GetModTime(1), 0u);

    const std::vector<uint8_t> record = Saved(list);
    AFileList loaded;
    AMemFile stream(record.data(), static_cast<uint32_t>(record.size()));
    ASSERT_EQ(loaded.Load(stream), 0);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetName(1), "missing.mp3");
    EXPECT_EQ(loaded.GetModTime(0), list.GetModTime(0));
    EXPECT_EQ(loaded.GetBasePath(), list.GetBasePath());
}

TEST(AFileList, FindAndSortIgnoreTheCaseOfLetters) {
    AFileList list;
    for (const char* name : {"beta", "Alpha", "gamma", "DELTA"})
        list.Add(AString(name));
    EXPECT_EQ(list.Find(AString("ALPHA")), 1);
    EXPECT_EQ(list.Find(AString("omega")), -1);
    list.Sort(false);
    EXPECT_EQ(list.GetName(0), "gamma");
    EXPECT_EQ(list.GetName(3), "Alpha");
    list.Sort(true);
    EXPECT_EQ(list.GetName(0), "Alpha");
    EXPECT_EQ(list.GetName(1), "beta");
}

TEST(AFileList, DamagedRecordsKeepTheBasePathAndWholeEntriesOnly) {
    AFileList list;
    list.SetBasePath(AString("/base"));
    list.Add(AString("one"));
    list.Add(AString("two"));
    std::vector<uint8_t> record = Saved(list);

    record.resize(record.size() - 3); // the second name is cut
    AFileList cut;
    AMemFile stream(record.data(), static_cast<uint32_t>(record.size()));
    EXPECT_NE(cut.Load(stream), 0);
    ASSERT_EQ(cut.GetCount(), 1);
    EXPECT_EQ(cut.GetName(0), "one");

    std::vector<uint8_t> broken = Saved(list);
    broken[0x18] = 0x09; // the entry array's version word
    AFileList damaged;
    AMemFile brokenStream(broken.data(), static_cast<uint32_t>(broken.size()));
    EXPECT_NE(damaged.Load(brokenStream), 0);
    EXPECT_EQ(damaged.GetCount(), 0);
    EXPECT_EQ(damaged.GetBasePath(), "/base/");
}
