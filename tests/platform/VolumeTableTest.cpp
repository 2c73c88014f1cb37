#include "platform/volumes/VolumeTable.h"

#include "platform/volumes/DriveBits.h"
#include "platform/volumes/MountTable.h"
#include "platform/volumes/MountedVolumeTable.h"
#include "support/TempDir.h"

#include <algorithm>
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
    std::filesystem::create_directories(listed);
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

namespace {

std::vector<Volume> Removable(std::initializer_list<const char*> mountPoints) {
    std::vector<Volume> volumes;
    for (const char* mountPoint : mountPoints)
        volumes.push_back({mountPoint, 0, true});
    return volumes;
}

} // namespace

TEST(DriveBits, OnlyRemovableVolumesAreNumberedEachKeepingItsNumberWhileMounted) {
    nativevolumes::DriveBits bits;
    std::vector<Volume> volumes = Removable({"/media/ann/ONE", "/media/ann/TWO"});
    volumes.insert(volumes.begin(), Volume{"/", 0, false});
    bits.Assign(volumes);
    EXPECT_EQ(volumes[0].driveBit, 0u);
    const uint32_t one = volumes[1].driveBit;
    const uint32_t two = volumes[2].driveBit;
    ASSERT_NE(one, 0u);
    ASSERT_NE(two, 0u);
    EXPECT_NE(one, two);
    EXPECT_EQ(one & (one - 1), 0u);

    // Another program numbering the same volumes afresh numbers them alike.
    nativevolumes::DriveBits other;
    std::vector<Volume> same = Removable({"/media/ann/ONE", "/media/ann/TWO"});
    other.Assign(same);
    EXPECT_EQ(same[0].driveBit, one);
    EXPECT_EQ(same[1].driveBit, two);

    // Forty more volumes come (sorting before and after) and go again: one and two keep their bits.
    std::vector<Volume> crowd = volumes;
    for (int i = 0; i < 40; ++i)
        crowd.push_back({"/media/ann/" + std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(i), 0, true});
    bits.Assign(crowd);
    EXPECT_EQ(crowd[1].driveBit, one);
    EXPECT_EQ(crowd[2].driveBit, two);
    bits.Assign(volumes);
    EXPECT_EQ(volumes[1].driveBit, one);
    EXPECT_EQ(volumes[2].driveBit, two);
}

TEST(DriveBits, ThirtyTwoVolumesTakeEveryBitOnceAndAThirtyThirdGetsNone) {
    nativevolumes::DriveBits bits;
    std::vector<Volume> volumes;
    for (int i = 0; i < 33; ++i)
        volumes.push_back({"/media/v" + std::to_string(i), 0, true});
    bits.Assign(volumes);
    uint32_t all = 0;
    int without = 0;
    for (const Volume& volume : volumes) {
        EXPECT_EQ(all & volume.driveBit, 0u) << volume.mountPoint << " shares a bit";
        all |= volume.driveBit;
        without += volume.driveBit == 0;
    }
    EXPECT_EQ(all, ~uint32_t{0});
    EXPECT_EQ(without, 1);
}

// Below /media or /run/media, and the folders of ORVANTIS_EXTRA_VOLUMES while they exist.
TEST(MountedVolumeTable, RemovableVolumesAreThoseOfTheMediaFoldersAndTheListedFoldersThatExist) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("by-uuid"));
    std::filesystem::create_directories(dir.File("listed"));
    WriteText(dir.File("mountinfo"), "22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                     "36 22 8:17 / /media/ann/STICK rw - vfat /dev/sdb1 rw\n"
                                     "37 22 8:33 / /run/media/ann/CARD rw - vfat /dev/sdc1 rw\n"
                                     "38 22 8:49 / /mnt/disk rw - ext4 /dev/sdd1 rw\n"
                                     "39 22 0:35 / /media rw - tmpfs tmpfs rw\n");
    setenv("ORVANTIS_EXTRA_VOLUMES", (dir.File("listed") + ":" + dir.File("not-made-yet")).c_str(), 1);
    const MountedVolumeTable table(dir.File("mountinfo"), dir.File("by-uuid"));
    std::vector<std::string> removable;
    for (const Volume& volume : table.List()) {
        EXPECT_EQ(volume.removable, volume.driveBit != 0) << volume.mountPoint;
        if (volume.removable)
            removable.push_back(volume.mountPoint);
    }
    std::sort(removable.begin(), removable.end());
    EXPECT_EQ(removable, std::vector<std::string>({"/media/ann/STICK", "/run/media/ann/CARD", dir.File("listed")}));
    std::filesystem::create_directories(dir.File("not-made-yet"));
    Volume made;
    EXPECT_TRUE(table.Find(dir.File("not-made-yet"), made));
    EXPECT_TRUE(made.removable);
    unsetenv("ORVANTIS_EXTRA_VOLUMES");
}
