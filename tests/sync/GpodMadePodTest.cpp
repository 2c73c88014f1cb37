// Syncing the library onto an iPod as libgpod, an independent writer of the format, sets one up: its
// own music folders and SysInfo, a database of its making, and no "iTunesPrefs".

#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kVideoModel = "MA147"; // libgpod makes 50 music folders for it

class GpodMadePod : public LibraryPodFixture {
protected:
    void SetUp() override {
        LibraryPodFixture::SetUp();
        if (!PreparePodWithGpod(kVideoModel))
            GTEST_SKIP() << "libgpod is not built in";
    }

    std::string PrefsFile() const { return PodRoot() + "/iPod_Control/iTunes/iTunesPrefs"; }
};

} // namespace

// Without preferences the iPod belongs to no library and is updated by hand: the sync goes on, and the
// file is never made.
TEST_F(GpodMadePod, AnIPodWithoutPreferencesSyncsAndGetsNone) {
    ASSERT_FALSE(fs::exists(PrefsFile()));
    AddLibrarySong("Abba", "Gold", "Waterloo", "1");
    AddLibrarySong("Abba", "Gold", "Mamma Mia", "2");
    auto sync = MakeSync(kDirection1To2, 0);
    EXPECT_EQ(Run(*sync), 0) << progress.PendingLog().ToUtf8();
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(TracksOnPod().size(), 2U);
    EXPECT_FALSE(fs::exists(PrefsFile()));
    std::map<std::string, std::string> gpod;
    ASSERT_TRUE(ReadPodWithGpod(PodRoot(), gpod));
    EXPECT_EQ(gpod.size(), 2U);
}
