// A long copy of the library onto an iPod saves the iPod's database after every batch of copies, not
// only at the end; a cancelled run saves what it copied.

#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr int kSongs = ADirPodDB::kSaveBatchSongs + 10;
constexpr int kCancelAfter = ADirPodDB::kSaveBatchSongs + 5;

class PodBatchSave : public LibraryPodFixture {
protected:
    void AddSongs() {
        std::vector<std::string> paths;
        for (int i = 0; i < kSongs; ++i) {
            const std::string title = "Song " + std::to_string(i);
            const std::string path = dir.File("songs/" + title + ".mp3");
            WriteSongFile(path, MakeMp3(SongTags("Pop", "Artist", "Album", title.c_str(), "1")));
            paths.push_back(path);
        }
        AddToLibrary(paths);
    }

    // The files copied whole: a copy under way is a hidden temporary file.
    size_t SongFilesOnPod() const {
        const auto files = FilesInPodMusic();
        return std::count_if(files.begin(), files.end(), [](const std::string& file) {
            return file.substr(file.rfind('/') + 1).front() != '.';
        });
    }
};

} // namespace

TEST_F(PodBatchSave, TheDatabaseOnTheIPodNamesEachFullBatchWhileTheRunGoesOnAndACancelSavesTheRest) {
    AddSongs();
    size_t savedWhileRunning = 0;
    // Asked after every action once the list was confirmed; files are counted only then.
    const CancelCallback cancel = [&] {
        if (shown.empty() || SongFilesOnPod() < static_cast<size_t>(kCancelAfter))
            return false;
        savedWhileRunning = TracksOnPod().size();
        return true;
    };
    auto sync = MakeSync(kDirection1To2, 0);
    EXPECT_EQ(Run(*sync, cancel), kUserCancel);
    EXPECT_EQ(savedWhileRunning, static_cast<size_t>(ADirPodDB::kSaveBatchSongs));
    EXPECT_EQ(TracksOnPod().size(), static_cast<size_t>(kCancelAfter));
    EXPECT_EQ(FilesInPodMusic().size(), static_cast<size_t>(kCancelAfter));

    auto again = MakeSync(kDirection1To2, 0);
    ASSERT_EQ(Run(*again), 0) << progress.PendingLog().ToUtf8();
    EXPECT_EQ(TracksOnPod().size(), static_cast<size_t>(kSongs));
    EXPECT_EQ(FilesInPodMusic().size(), static_cast<size_t>(kSongs));
}
