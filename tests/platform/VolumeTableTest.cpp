#include "platform/volumes/VolumeTable.h"

#include "platform/volumes/MountTable.h"
#include "platform/volumes/MountedVolumeTable.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using nativevolumes::MountedVolumeTable;
using nativevolumes::MountEntry;
using nativevolumes::Volume;
using nativevolumes::VolumeTable;

TEST(VolumeTable, KnowsMountPointsAndListedFoldersOnly) {
    const TempDir dir;
    const std::string listed = dir.File("listed-volume");
    ASSERT_EQ(setenv("ORVANTIS_EXTRA_VOLUMES", ("/nonexistent-volume:" + listed + "/").c_str(), 1), 0);
    Volume volume;
    volume.serial = 7;
    EXPECT_TRUE(VolumeTable::Instance().Find(listed, volume));
    EXPECT_EQ(volume.mountPoint, listed);
    EXPECT_EQ(volume.serial, 0u);
    EXPECT_FALSE(VolumeTable::Instance().Find(listed + "/below", volume));
    EXPECT_TRUE(VolumeTable::Instance().Find("/", volume));
    EXPECT_FALSE(VolumeTable::Instance().Find("", volume));
    const std::vector<Volume> volumes = VolumeTable::Instance().List();
    EXPECT_TRUE(std::is_sorted(volumes.begin(), volumes.end(),
                               [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; }));
    unsetenv("ORVANTIS_EXTRA_VOLUMES");
}

// Lines as the kernel writes them: blanks, tabs, newlines and backslashes of paths as octal escapes.
TEST(MountTable, ReadsTheKernelsLines) {
    const std::string table =
        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
        "36 22 8:17 / /media/anna/MY\\040IPOD rw,nosuid,nodev,relatime shared:200 - vfat /dev/sdb1 "
        "rw,fmask=0022,dmask=0022,codepage=437,iocharset=ascii,shortname=mixed,utf8,errors=remount-ro\n"
        "40 22 0:35 / /tmp rw,nosuid,nodev - tmpfs tmpfs rw\n"
        "41 22 0:36 /export /mnt/back\\134slash\\011tab rw shared:5 master:3 - nfs4 server:/export rw\n"
        "42 22 0:37 / /mnt/no\\777escape\\04 rw - fuse.x /dev/disk\\040one rw\n"
        "43 22 0:38 / /mnt/-dash rw - - - rw\n"
        "too few fields\n"
        "44 22 0:39 / /mnt/nothing rw shared:1 ext4 /dev/sdc1 rw\n"
        "\n";
    const std::vector<MountEntry> expected = {
        {"/", "/dev/sda2"},
        {"/media/anna/MY IPOD", "/dev/sdb1"},
        {"/tmp", "tmpfs"},
        {"/mnt/back\\slash\ttab", "server:/export"},
        {"/mnt/no\\777escape\\04", "/dev/disk one"},
        {"/mnt/-dash", "-"},
    };
    EXPECT_EQ(nativevolumes::ParseMountTable(table), expected);
}

TEST(MountTable, FatSerialsComeFromTheirUuids) {
    const struct {
        const char* uuid;
        uint32_t serial;
    } cases[] = {
        {"1A2B-3C4D", 0x1A2B3C4D},
        {"0000-00ff", 0x000000FF},
        {"FFFF-FFFF", 0xFFFFFFFF},
        {"1A2B3C4D", 0},
        {"1A2B-3C4", 0},
        {"1A2B-3C4G", 0},
        {"0123abcd-4567-89ef-0123-456789abcdef", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nativevolumes::SerialOfFilesystemUuid(c.uuid), c.serial) << c.uuid;
}

namespace {

// A path in a mount table line: blanks, tabs, newlines and backslashes as the kernel escapes them.
std::string MountTablePath(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        if (c == ' ')
            escaped += "\\040";
        else if (c == '\t')
            escaped += "\\011";
        else if (c == '\n')
            escaped += "\\012";
        else if (c == '\\')
            escaped += "\\134";
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

// The iPod's identifier stands on this: the serial of the device a mount line names, found through
// the links of the UUID folder.
TEST(MountedVolumeTable, GivesEachMountItsFilesystemsSerial) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("dev"));
    std::filesystem::create_directories(dir.File("by-uuid"));
    WriteText(dir.File("dev/sdb1"), "");
    WriteText(dir.File("dev/sda2"), "");
    std::filesystem::create_symlink("../dev/sdb1", dir.File("by-uuid/1A2B-3C4D"));
    std::filesystem::create_symlink(dir.File("dev/sda2"),
                                    dir.File("by-uuid/0123abcd-4567-89ef-0123-456789abcdef"));
    WriteText(dir.File("mountinfo"), "22 1 8:2 / / rw,relatime shared:1 - ext4 " +
                                         MountTablePath(dir.File("dev/sda2")) +
                                         " rw\n"
                                         "36 22 8:17 / /media/anna/MY\\040IPOD rw,nosuid shared:200 - vfat " +
                                         MountTablePath(dir.File("dev/sdb1")) +
                                         " rw\n"
                                         "40 22 0:35 / /tmp rw,nosuid,nodev - tmpfs tmpfs rw\n");
    unsetenv("ORVANTIS_EXTRA_VOLUMES");
    const MountedVolumeTable table(dir.File("mountinfo"), dir.File("by-uuid"));
    const std::vector<Volume> volumes = table.List();
    ASSERT_EQ(volumes.size(), 3u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
    EXPECT_EQ(volumes[0].serial, 0u) << "not a FAT volume";
    EXPECT_EQ(volumes[1].mountPoint, "/media/anna/MY IPOD");
    EXPECT_EQ(volumes[1].serial, 0x1A2B3C4Du);
    EXPECT_EQ(volumes[2].mountPoint, "/tmp");
    Volume pod;
    ASSERT_TRUE(table.Find("/media/anna/MY IPOD/", pod));
    EXPECT_EQ(pod.serial, 0x1A2B3C4Du);
}
