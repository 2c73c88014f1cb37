#include "platform/volumes/VolumeTable.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using nativevolumes::Volume;
using nativevolumes::VolumeTable;

TEST(VolumeTable, KnowsMountPointsAndListedFoldersOnly) {
    const std::string listed = std::filesystem::temp_directory_path() / "orvantis-listed-volume";
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
