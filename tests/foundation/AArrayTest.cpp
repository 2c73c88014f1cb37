#include "foundation/AArray.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::span<const uint8_t> Text(const char* text, size_t length) {
    return {reinterpret_cast<const uint8_t*>(text), length};
}

std::vector<uint8_t> Saved(const AArray& array) {
    AMemFile stream;
    EXPECT_EQ(array.Serialize(stream), 0);
    return std::vector<uint8_t>(stream.GetBuffer(), stream.GetBuffer() + stream.GetSize());
}

} // namespace

TEST(AArray, EmptyArrayRecord) {
    AArray array;
    EXPECT_EQ(Saved(array), (std::vector<uint8_t>{0x02, 0x00, 0x10, 0x00, 0, 0, 0, 0}));
}

TEST(AArray, OwnedAndBorrowedEntriesSaveAndLoad) {
    AArray array;
    uint8_t borrowed[] = {'x', 'y', 'z'};
    ASSERT_EQ(array.AddCopy(Text("ab", 2)), 0);
    array.Add(borrowed);
    ASSERT_EQ(array.InsertCopyAt(Text("0", 1), 0), 0);
    const std::vector<uint8_t> record = Saved(array);
    EXPECT_EQ(record, (std::vector<uint8_t>{0x02, 0x00, 0x10, 0x00, 3,   0,   0, 0, 1, 0, 0,   0,   '0',
                                            2,    0,    0,    0,    'a', 'b', 3, 0, 0, 0, 'x', 'y', 'z'}));
    AArray loaded;
    AMemFile stream(record.data(), static_cast<uint32_t>(record.size()));
    ASSERT_EQ(loaded.Load(stream), 0);
    ASSERT_EQ(loaded.GetCount(), 3);
    uint8_t out[8] = {};
    EXPECT_EQ(loaded.GetData(2, out), 3u);
    EXPECT_STREQ(reinterpret_cast<const char*>(out), "xyz");
    EXPECT_EQ(loaded.GetData(2, std::span(out, 0)), 0u);
    loaded.RemoveAt(0);
    EXPECT_EQ(loaded.GetLength(0), 2u);
    EXPECT_THROW(loaded.GetAt(2), std::out_of_range);
}

TEST(AArray, DamagedRecordsKeepWhatLoadedAndAllocateNothingHuge) {
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int result;
        int count;
    } cases[] = {
        {"wrong version", {0x03, 0x00, 0x10, 0x00, 0, 0, 0, 0}, kErrorVersion, 0},
        {"ends inside an element",
         {0x02, 0x00, 0x10, 0x00, 2, 0, 0, 0, 1, 0, 0, 0, 'a', 3, 0, 0, 0, 'b'},
         kErrorEndOfStream,
         1},
        {"huge length", {0x02, 0x00, 0x10, 0x00, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, kErrorEndOfStream, 0},
        {"huge count", {0x02, 0x00, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}, kErrorEndOfStream, 1},
    };
    for (const auto& c : cases) {
        AArray array;
        array.AddCopy(Text("old", 3));
        AMemFile stream(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        EXPECT_EQ(array.Load(stream), c.result) << c.what;
        EXPECT_EQ(array.GetCount(), c.count) << c.what;
    }
}

TEST(AArray, FileStreamGivesItsOwnShortReadCode) {
    TempDir dir;
    WriteBytes(dir.File("a"), {0x02, 0x00, 0x10, 0x00, 1, 0, 0, 0, 9, 0, 0, 0, 'a'});
    AFile file;
    ASSERT_EQ(file.Open(dir.Text("a"), AFile::kModeRead, false), 0);
    AArray array;
    EXPECT_EQ(array.Load(file), kErrorShortRead);
}
