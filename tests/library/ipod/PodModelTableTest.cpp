// The iPod model table and the lookup of a drive's model in its SysInfo file.
#include "library/ipod/PodModelTable.h"

#include "foundation/AFile.h"
#include "platform/files/NativeFiles.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class SysInfoDrive {
public:
    explicit SysInfoDrive(const std::string& sysInfo) {
        nativefiles::MakeDirectory(m_folder.File("iPod_Control"));
        nativefiles::MakeDirectory(m_folder.File("iPod_Control/Device"));
        WriteText(m_folder.File("iPod_Control/Device/SysInfo"), sysInfo);
    }
    AString Root() const { return AString(m_folder.Path()); }

private:
    TempDir m_folder;
};

} // namespace

TEST(PodModelTable, HoldsTheFiftyOneRowsInOrder) {
    const auto& rows = PodModelTable::Rows();
    ASSERT_EQ(51u, rows.size());
    EXPECT_EQ(AString("8513"), rows.front().modelNumber);
    EXPECT_EQ(AString("A452"), rows[27].modelNumber);
    EXPECT_EQ(AString("9160"), rows[28].modelNumber);
    EXPECT_EQ(AString("A107"), rows.back().modelNumber);
    EXPECT_EQ(nullptr, PodModelTable::Find(AString("a107")));
}

TEST(PodModelTable, SysInfoLineFindsTheModel) {
    struct Case {
        const char* sysInfo;
        const char* model;
        uint32_t family;
        uint32_t variant;
        double gigabytes;
    };
    const Case cases[] = {
        {"BoardHwName: iPod Q98\r\nModelNumStr: M9724\r\n", "9724", 2, 0, 0.5},
        {"pszSerialNumber: X\nModelNumStr: MA146\nvisibleBuildID: 1\n", "A146", 4, 2, 30},
        {"  modelnumstr: xA452  \n", "A452", 10, 0, 30},
        {"ModelNumStr: ma146\n", "a146", 0, 0, 0},
        {"ModelNumStr: M9160", "9160", 3, 3, 4},
        // Only the key before the ':' counts, not the text anywhere in the line.
        {"pszSerialNumber: ModelNumStr\nModelNumStrings: M8513\n ModelNumStr : M9725\n", "9725", 2, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sysInfo);
        SysInfoDrive drive(c.sysInfo);
        PodModelInfo info;
        ASSERT_EQ(0, GetIPodModelInfo(drive.Root(), info));
        EXPECT_EQ(AString(c.model), info.modelNumber);
        EXPECT_EQ(c.family, info.family);
        EXPECT_EQ(c.variant, info.variant);
        EXPECT_EQ(c.gigabytes, info.gigabytes);
    }
}

TEST(PodModelTable, SysInfoWithoutModelLineGivesTheEndCode) {
    SysInfoDrive drive("BoardHwName: iPod\r\n");
    PodModelInfo info;
    EXPECT_EQ(AFile().ShortReadError(), GetIPodModelInfo(drive.Root(), info)); // a file's end code
}

TEST(PodModelTable, NoDriveIsNoModel) {
    PodModelInfo info;
    info.family = 9;
    EXPECT_EQ(0, GetIPodModelInfo(AString(), info));
    EXPECT_EQ(0u, info.family);
}

TEST(PodModelTable, DriveWithoutSysInfoIsFamilyTwoAndStaysAsItWas) {
    TempDir drive;
    PodModelInfo info;
    ASSERT_EQ(0, GetIPodModelInfo(AString(drive.Path()), info));
    EXPECT_EQ(2u, info.family);
    EXPECT_TRUE(info.modelNumber.IsEmpty());
    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(drive.Path(), entries));
    EXPECT_TRUE(entries.empty());
}
