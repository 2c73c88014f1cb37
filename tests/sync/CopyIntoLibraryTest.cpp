// Songs offered to the library through the add-files run: each is first copied into the music folder,
// and a file the library refuses must not stay there as a stray copy.

#include "library/songlists/ADirSongDir.h"
#include "library/songlists/ADirTunes.h"
#include "support/TempDir.h"
#include "platform/itunes/ITunesInstance.h"
#include "sync/LibraryPodFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::set<std::string> FilesBelow(const std::string& folder) {
    std::set<std::string> files;
    if (!fs::exists(folder))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.insert(entry.path().filename().string());
    return files;
}

class CopyIntoLibrary : public LibraryPodFixture {};

} // namespace

TEST_F(CopyIntoLibrary, ASongTheLibraryRefusesLeavesNoCopyInTheMusicFolder) {
    // Tagged by an outside tool.
    fs::create_directories(dir.File("add"));
    fs::copy_file(FixturePath("tags/v24_mutagen.mp3"), dir.File("add/Waterloo.mp3"));
    auto files = std::make_shared<ADirSongDir>(&progress);
    files->SetRootPath(dir.Text("add"));
    ASSERT_GE(files->AddEntry(AString("Waterloo.mp3"), 0), 0);
    auto library = std::make_shared<ADirTunes>(&progress);
    library->SetRootPath(AString(ADirTunes::kRootMarker));
    ASyncLib sync(ADir::kTypeSongDir, ADir::kTypeTunes, &progress);
    sync.CreateNewLists(files, library);
    sync.SetDirection(kDirection1To2);
    sync.SetCopyIntoLibrary(1);

    // The library client asks three times before it gives up.
    itunesapp::ITunesInstance::Running().RefuseAdds(3);
    toolPresenter.QueueAnswers({true});
    sync.Process(CancelCallback(), ASync::kBuildList2);
    sync.UseNewLists();

    EXPECT_EQ(FilesBelow(MusicFolder()), std::set<std::string>{}) << "the refused song stayed in the music folder";
    EXPECT_TRUE(fs::exists(dir.File("add/Waterloo.mp3")));
}
