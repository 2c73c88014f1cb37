// The song sync between the stand-in library and an iPod read from its own files, without a window:
// copying to the iPod, a run with nothing to do, making the iPod equal after a song left the library,
// and copying a song that only the iPod has into the library. Every step checks the files and both
// databases on disk, the iPod's also with libgpod.

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

namespace {

constexpr int kButtonYes = 0;

class SongSyncScenario : public LibraryPodFixture {
protected:
    // Every track's file lies in a music folder "F" and two digits, and libgpod finds the same.
    void ExpectPodHolds(const std::multiset<std::string>& titles) {
        const auto tracks = TracksOnPod();
        std::multiset<std::string> onPod;
        for (const auto& [title, file] : tracks) {
            onPod.insert(title);
            EXPECT_TRUE(std::regex_match(file, std::regex("/iPod_Control/Music/F[0-9][0-9]/[A-Z]{4}\\.mp3")))
                << file;
            EXPECT_TRUE(fs::is_regular_file(PodRoot() + file)) << file;
        }
        EXPECT_EQ(onPod, titles);
        std::map<std::string, std::string> gpod;
        if (!ReadPodWithGpod(PodRoot(), gpod))
            return;
        std::set<std::string> gpodTitles;
        for (const auto& [title, file] : gpod) {
            gpodTitles.insert(title);
            EXPECT_TRUE(fs::is_regular_file(file)) << title << ": " << file;
        }
        EXPECT_EQ(gpodTitles, std::set<std::string>(titles.begin(), titles.end()));
    }

    std::vector<std::string> ShownVerbs() const {
        std::vector<std::string> verbs;
        for (const std::string& line : shown)
            verbs.push_back(line.substr(0, line.find(" | ")));
        return verbs;
    }
};

} // namespace

TEST_F(SongSyncScenario, LibraryAndPodStayInStep) {
    AddLibrarySong("Abba", "Gold", "Waterloo", "1");
    const std::string mammaMia = AddLibrarySong("Abba", "Gold", "Mamma Mia", "2");
    AddLibrarySong("Queen", "Jazz", "Mustapha", "3");

    // Copy library to iPod.
    auto copy = MakeSync(kDirection1To2, 0);
    ASSERT_EQ(Run(*copy), 0);
    EXPECT_EQ(ShownVerbs(), (std::vector<std::string>(3, "Copy to iPod"))) << progress.PendingLog().ToUtf8();
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown[0].find("Abba; Gold; Mamma Mia; mp3 | iPod: Empty iPod Main Library"), std::string::npos)
        << shown[0];
    ExpectPodHolds({"Waterloo", "Mamma Mia", "Mustapha"});
    EXPECT_EQ(FilesInPodMusic().size(), 3U);

    // Again: nothing to do.
    ASSERT_EQ(Run(*copy), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(user.messages, std::vector<AString>{AString("Nothing to Sync!")});

    // Make iPod equal to library, after a song left the library.
    const auto before = TracksOnPod();
    const std::string mammaMiaOnPod = before.find("Mamma Mia")->second;
    RemoveLibrarySong(mammaMia);
    auto makeEqual = MakeSync(kDirection1To2, 1);
    user.QueueAnswers({kButtonYes});
    ASSERT_EQ(Run(*makeEqual), 0);
    EXPECT_EQ(ShownVerbs(), (std::vector<std::string>{"Delete from iPod"}));
    ExpectPodHolds({"Waterloo", "Mustapha"});
    EXPECT_FALSE(fs::exists(PodRoot() + mammaMiaOnPod));
    EXPECT_TRUE(fs::is_regular_file(PodRoot() + "/Removed Files/Abba/Gold/Mamma Mia.mp3"));

    // Copy iPod to library: a song that only the iPod has is filed in the music folder and added.
    {
        ADirPodDB pod;
        const AString root(PodRoot().c_str());
        ASSERT_EQ(pod.Open(&root, 0, CancelCallback()), 0);
        pod.Sort(1);
        const std::string song = dir.File("elsewhere/bohemian.mp3");
        WriteSongFile(song, MakeMp3(SongTags("Rock", "Queen", "Opera", "Bohemian", "7")));
        ASSERT_EQ(pod.CopySongToPod(AString(song.c_str()), nullptr, CancelCallback()), 0);
        ASSERT_EQ(pod.SaveDatabase(), 0);
    }
    auto toLibrary = MakeSync(kDirection2To1, 0);
    ASSERT_EQ(Run(*toLibrary), 0);
    EXPECT_EQ(ShownVerbs(), (std::vector<std::string>{"Copy to iTunes"}));
    const std::string placed = MusicFolder() + "/Queen/Opera/07 Bohemian.mp3";
    EXPECT_TRUE(fs::is_regular_file(placed));
    EXPECT_TRUE(FilesInLibrary().count(placed)) << LibraryText();
    EXPECT_EQ(FilesInLibrary().size(), 3U);
    ExpectPodHolds({"Waterloo", "Mustapha", "Bohemian"});
}
