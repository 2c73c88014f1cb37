// The main window's start as a new user meets it: no settings, an empty library, fake iPods.

#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/WindowUnderTest.h"
#include "widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace {

class MainWindowStartTest : public testing::Test {
protected:
    AppTestHome home;
};

TEST_F(MainWindowStartTest, ShowsInitializingThenReachesIdleWithTheIPod) {
    const std::string pod = home.Folder().File("pod");
    WriteFakePod(pod, {u"My iPod", {u"Favourites", u"Last Sync", u"Road"}, 3, "", false});
    home.MountVolume(pod);
    WindowUnderTest test(home);
    test.Window().OnInitDialog();
    EXPECT_FALSE(test.Controls().chooser.isEnabled());
    EXPECT_TRUE(test.Window().IsBusy());
    ASSERT_TRUE(test.WaitIdle());

    EXPECT_EQ(test.ChooserTexts(), QStringList({"My iPod", "AComboBox_SEPARATOR", "Connect to Remote"}));
    EXPECT_EQ(test.Window().Chooser().Selection(), 0);
    EXPECT_EQ(test.ComboTexts(test.Controls().rightPlayLists),
              QStringList({"iPod Main Library", "Favourites", "Road", "New playlist..."}));
    EXPECT_EQ(test.ComboTexts(test.Controls().leftPlayLists).first(), "Main Library");
    EXPECT_EQ(test.ComboTexts(test.Controls().leftPlayLists).last(), "New playlist...");
    EXPECT_EQ(test.Controls().syncPicture.toolTip(), "Merge iTunes and iPod");
    EXPECT_EQ(test.Controls().leftInfo.GetText(),
              "All files in the iPod will be copied to iTunes. No files will be deleted on iTunes.");
    EXPECT_EQ(test.Controls().rightInfo.GetText(),
              "All files in iTunes will be copied to the iPod. No files will be deleted on the iPod.");
    EXPECT_EQ(test.Window().windowTitle(), "Quelloran Orvantis");
}

} // namespace

namespace {
TEST_F(MainWindowStartTest, DISABLED_WritesAScreenshot) {
    const std::string pod = home.Folder().File("pod");
    WriteFakePod(pod, {u"My iPod", {u"Favourites"}, 3, "", false});
    home.MountVolume(pod);
    WindowUnderTest test(home);
    ASSERT_TRUE(test.StartAndWaitIdle());
    test.Window().grab().save("/tmp/orvantis_idle.png");
}
}
