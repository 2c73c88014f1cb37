// Songs copied onto an iPod go into the music folders the iPod has (F00 on, as libgpod or the iPod's
// maker set them up), else into as many as the iPod's model gets, else into 20.

#include "library/ipod/PodModelTable.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#ifdef ORVANTIS_WITH_GPOD
#include <gpod/itdb.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kSongs = 60;

class PodMusicFolders : public LibraryPodFixture {
protected:
    void AddSongs() {
        std::vector<std::string> paths;
        for (int i = 0; i < kSongs; ++i) {
            const std::string title = "Song " + std::to_string(i);
            const std::string artist = "Artist " + std::to_string(i % 9);
            const std::string path = dir.File("songs/" + title + ".mp3");
            WriteSongFile(path, MakeMp3(SongTags("Pop", artist.c_str(), "Album", title.c_str(), "1")));
            paths.push_back(path);
        }
        AddToLibrary(paths);
    }

    void WriteSysInfo(const char* modelNumber) const {
        fs::create_directories(PodRoot() + "/iPod_Control/Device");
        std::ofstream(PodRoot() + "/iPod_Control/Device/SysInfo") << "ModelNumStr: " << modelNumber << "\n";
    }

    // The highest folder number of the iPod's tracks, after copying every song onto it: spread over 100
    // folders, some of 60 songs would go above any of the counts here.
    int HighestFolderAfterCopy() {
        AddSongs();
        auto sync = MakeSync(kDirection1To2, 0);
        EXPECT_EQ(Run(*sync), 0) << progress.PendingLog().ToUtf8();
        const auto tracks = TracksOnPod();
        EXPECT_EQ(tracks.size(), static_cast<size_t>(kSongs));
        int highest = -1;
        for (const auto& [title, file] : tracks) {
            const std::string folder = fs::path(file).parent_path().filename().string();
            EXPECT_EQ(folder.size(), 3U) << file;
            highest = std::max(highest, std::stoi(folder.substr(1)));
        }
        return highest;
    }
};

} // namespace

// libgpod makes 50 folders for this video iPod, and no preferences.
TEST_F(PodMusicFolders, AnIPodPreparedByLibgpodKeepsToItsFolders) {
    if (!PreparePodWithGpod("MA147"))
        GTEST_SKIP() << "libgpod is not built in";
    ASSERT_TRUE(fs::is_directory(PodRoot() + "/iPod_Control/Music/F49"));
    ASSERT_FALSE(fs::exists(PodRoot() + "/iPod_Control/Music/F50"));
    EXPECT_LE(HighestFolderAfterCopy(), 49);
    EXPECT_FALSE(fs::exists(PodRoot() + "/iPod_Control/Music/F50"));
}

TEST_F(PodMusicFolders, AnIPodWithoutFoldersGetsItsModelsCount) {
    WriteSysInfo("M9724"); // a 0.5 GB model: 3 folders
    EXPECT_LE(HighestFolderAfterCopy(), 2);
}

TEST_F(PodMusicFolders, AnIPodOfUnknownModelGetsTwenty) {
    WriteSysInfo("MZ999");
    EXPECT_LE(HighestFolderAfterCopy(), 19);
}

TEST_F(PodMusicFolders, FoldersCountFromF00WithoutAGap) {
    for (const char* folder : {"F00", "F01", "F02", "F03", "F77"})
        fs::create_directories(PodRoot() + "/iPod_Control/Music/" + folder);
    EXPECT_LE(HighestFolderAfterCopy(), 3);
}

// Our table gives every model libgpod knows the music folder count libgpod gives it.
TEST(PodModelTableFolders, EachModelHasLibgpodsCount) {
#ifdef ORVANTIS_WITH_GPOD
    int compared = 0;
    for (const Itdb_IpodInfo* info = itdb_info_get_ipod_info_table(); info->model_number; ++info) {
        const PodModelInfo* row = PodModelTable::Find(AString(info->model_number));
        if (!row)
            continue;
        EXPECT_EQ(row->musicFolders, info->musicdirs) << info->model_number;
        ++compared;
    }
    EXPECT_EQ(compared, 49);
    for (const PodModelInfo& row : PodModelTable::Rows())
        EXPECT_GT(row.musicFolders, 0U) << row.modelNumber.ToUtf8();
#else
    GTEST_SKIP() << "libgpod is not built in";
#endif
}
