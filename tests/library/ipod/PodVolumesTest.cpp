// The mounted iPods with their drive bits, over a mount table of the test's own: only the volumes
// that can be iPods are numbered, so a crowd of other mounts neither takes the bits nor moves them.

#include "library/ipod/PodVolumes.h"

#include "DatabaseBytes.h"
#include "platform/volumes/MountedVolumeTable.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace dbbytes;

namespace {

// An iPod folder named in ORVANTIS_EXTRA_VOLUMES, behind a mount table of `mounts` other mounts that
// all sort before it, and a removable stick below /media.
class PodVolumesTest : public testing::Test {
protected:
    void SetUp() override {
        pod = dir.File("pods/Traveller");
        std::filesystem::create_directories(pod + "/iPod_Control/iTunes");
        const Bytes list = PlayListList({PlayList(u"Traveller", true, {})});
        WriteBytes(pod + "/iPod_Control/iTunes/iTunesDB",
                   Database(15, {DataSet(1, TrackList({})), DataSet(3, list), DataSet(2, list)}));
        std::filesystem::create_directories(dir.File("uuids"));
        setenv("ORVANTIS_EXTRA_VOLUMES", pod.c_str(), 1);
        WriteMounts(40);
        nativevolumes::VolumeTable::SetInstance(&table);
    }
    void TearDown() override {
        nativevolumes::VolumeTable::SetInstance(nullptr);
        unsetenv("ORVANTIS_EXTRA_VOLUMES");
    }
    void WriteMounts(int mounts, const std::string& more = "") {
        std::string text;
        for (int i = 0; i < mounts; ++i)
            text += std::to_string(100 + i) + " 1 0:" + std::to_string(i) + " / /a/" + std::to_string(10 + i) +
                    " rw - tmpfs tmpfs rw\n";
        text += "99 1 8:17 / /media/ann/STICK rw - vfat /dev/sdz1 rw\n" + more;
        WriteText(dir.File("mountinfo"), text);
    }
    uint32_t PodBit() const {
        const std::vector<PodVolume> pods = FindIPodVolumes();
        return pods.size() == 1 ? pods[0].driveBit : 0;
    }

    TempDir dir;
    std::string pod;
    const nativevolumes::MountedVolumeTable table{dir.File("mountinfo"), dir.File("uuids")};
};

} // namespace

TEST_F(PodVolumesTest, AnIPodBehindManyOtherMountsHasABitThatFindsItAgain) {
    const std::vector<PodVolume> pods = FindIPodVolumes();
    ASSERT_EQ(pods.size(), 1u);
    EXPECT_EQ(pods[0].name, AString("Traveller"));
    const uint32_t bit = pods[0].driveBit;
    ASSERT_NE(bit, 0u);
    EXPECT_EQ(bit & (bit - 1), 0u) << "one bit";
    EXPECT_EQ(DriveBitOfVolume(AString(pod + "/")), bit);
    EXPECT_EQ(FindIPodVolumes(bit).size(), 1u);
    EXPECT_TRUE(FindIPodVolumes(~bit).empty());
    EXPECT_EQ(DriveBitOfVolume(AString("/a/10")), 0u) << "a volume that is not removable has none";
    EXPECT_NE(DriveBitOfVolume(AString("/media/ann/STICK")), 0u);
}

// A mask handed over before other volumes came and went still names the iPod.
TEST_F(PodVolumesTest, AnIPodKeepsItsBitWhileOtherVolumesComeAndGo) {
    const uint32_t bit = PodBit();
    ASSERT_NE(bit, 0u);
    const std::string stick = dir.File("pods/Another");
    std::filesystem::create_directories(stick);
    setenv("ORVANTIS_EXTRA_VOLUMES", (stick + ":" + pod).c_str(), 1);
    WriteMounts(45, "98 1 8:33 / /media/ann/ALPHA rw - vfat /dev/sdy1 rw\n");
    EXPECT_EQ(PodBit(), bit) << "removable volumes and other mounts arrived before it";
    WriteMounts(3);
    setenv("ORVANTIS_EXTRA_VOLUMES", pod.c_str(), 1);
    EXPECT_EQ(PodBit(), bit) << "and went again";
}
