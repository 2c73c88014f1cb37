#include "library/ipod/IPodPrefs.h"
#include "library/ipod/PodVolumes.h"
#include "foundation/ErrorCodes.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class IPodVolumesTest : public testing::Test {
protected:
    std::string Pod(const std::string& name, const FakePodContent& content) {
        const std::string root = home.Folder().File(name);
        WriteFakePod(root, content);
        home.MountVolume(root);
        return root;
    }
    std::vector<uint8_t> Prefs(const std::string& root) const {
        return ReadBytes(root + "/iPod_Control/iTunes/iTunesPrefs");
    }

    AppTestHome home;
};

TEST_F(IPodVolumesTest, FindsTheVolumesWhoseDatabaseReads) {
    const std::string pod = Pod("pod", {u"Music", {}, 0, "", false});
    const std::string plain = home.Folder().File("plain");
    std::filesystem::create_directories(plain);
    home.MountVolume(plain);

    const std::vector<PodVolume> found = FindIPodVolumes();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name.ToUtf8(), "Music");
    EXPECT_EQ(found[0].root.ToUtf8(), pod + "/");
    EXPECT_EQ(found[0].driveBit, DriveBitOfVolume(AString(pod)));
    EXPECT_NE(found[0].driveBit, 0u);
    EXPECT_TRUE(FindIPodVolumes(~found[0].driveBit).empty());
    EXPECT_EQ(FindIPodVolumes(found[0].driveBit).size(), 1u);
}

struct PrefsCase {
    const char* model; // none: no SysInfo, a Shuffle
    bool manageIPods;
    bool manageShuffles;
    uint8_t byte10;
};

TEST_F(IPodVolumesTest, TheDecidingSettingTurnsTheIPodsOwnUpdateOff) {
    const PrefsCase cases[] = {
        {"", false, false, 0xFF}, {"", true, false, 0xFF},     {"", false, true, 0},
        {"MA002", true, false, 0}, {"MA002", false, true, 0xFF},
    };
    int n = 0;
    for (const PrefsCase& c : cases) {
        const std::string root = Pod("pod" + std::to_string(n++), {u"P", {}, 0, c.model, true});
        ASSERT_EQ(IPodPrefs::PrepareForSync(AString(root), c.manageIPods, c.manageShuffles), 0);
        const std::vector<uint8_t> prefs = Prefs(root);
        ASSERT_EQ(prefs.size(), 64u);
        EXPECT_EQ(prefs[10], c.byte10) << c.model << c.manageIPods << c.manageShuffles;
        EXPECT_EQ(prefs[31], 1);
        EXPECT_EQ(prefs[11], 0xFF);
    }
}

TEST_F(IPodVolumesTest, PrefsAreNeverMadeOrLengthened) {
    const std::string root = Pod("pod", {u"P", {}, 0, "", false});
    EXPECT_NE(IPodPrefs::PrepareForSync(AString(root), true, true), 0);
    EXPECT_FALSE(std::filesystem::exists(root + "/iPod_Control/iTunes/iTunesPrefs"));
    WriteBytes(root + "/iPod_Control/iTunes/iTunesPrefs", std::vector<uint8_t>(20, 0xFF));
    EXPECT_EQ(IPodPrefs::PrepareForSync(AString(root), true, true), kErrorShortRead);
    EXPECT_EQ(Prefs(root), std::vector<uint8_t>(20, 0xFF));
}

// A crafted volume cannot have the preparation write through a link to a file elsewhere.
TEST_F(IPodVolumesTest, PrefsReachedThroughALinkAreLeftAlone) {
    const std::string root = Pod("pod", {u"P", {}, 0, "", false});
    const std::string elsewhere = root + "/../elsewhere";
    WriteBytes(elsewhere, std::vector<uint8_t>(64, 0xFF));
    std::filesystem::create_symlink(elsewhere, root + "/iPod_Control/iTunes/iTunesPrefs");
    EXPECT_EQ(IPodPrefs::PrepareForSync(AString(root), true, true), kErrorFileNotFound);
    EXPECT_EQ(Prefs(root), std::vector<uint8_t>(64, 0xFF));
}

} // namespace
