#include "platform/files/NativeFiles.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// The status a listing hands out beside each name is the one a look at the whole path gives: links are
// followed, a link to nothing has none, and our temporaries stay out when asked.
TEST(DirectoryListing, EachEntrysStatusIsWhatItsPathTells) {
    TempDir dir;
    WriteText(dir.File("song.mp3"), "twelve bytes");
    WriteText(dir.File(".hidden.mp3"), "x");
    WriteText(dir.File(".song.mp3.partAbC123"), "left over");
    fs::create_directory(dir.File("album"));
    fs::create_symlink("album", dir.File("link to album"));
    fs::create_symlink("song.mp3", dir.File("link to song"));
    fs::create_symlink("nothing", dir.File("dangling"));

    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectoryWithStatus(dir.Path(), entries, nativefiles::Listing::WithoutTemporaries));
    std::vector<std::string> names;
    for (const nativefiles::DirectoryEntry& entry : entries) {
        names.push_back(entry.name);
        const nativefiles::PathStatus expected = nativefiles::GetStatus(dir.File(entry.name));
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.isDirectory, expected.isDirectory);
        EXPECT_EQ(entry.status.exists, expected.exists);
        EXPECT_EQ(entry.status.isDirectory, expected.isDirectory);
        EXPECT_EQ(entry.status.isRegularFile, expected.isRegularFile);
        EXPECT_EQ(entry.status.isHidden, expected.isHidden);
        EXPECT_EQ(entry.status.size, expected.size);
        EXPECT_EQ(entry.status.modifiedUnix, expected.modifiedUnix);
        EXPECT_EQ(entry.status.inode, expected.inode);
    }
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.mp3", "album", "dangling", "link to album", "link to song",
                                               "song.mp3"}));
    EXPECT_FALSE(entries[2].status.exists);
    EXPECT_TRUE(entries[3].isDirectory);
}

// A link to nothing is one more entry, never a folder that cannot be listed.
TEST(DirectoryListing, ALinkToNothingLeavesTheListingWhole) {
    TempDir dir;
    WriteText(dir.File("song.mp3"), "x");
    fs::create_symlink("nothing", dir.File("dangling"));
    std::vector<nativefiles::DirectoryEntry> entries;
    ASSERT_TRUE(nativefiles::ListDirectory(dir.Path(), entries));
    EXPECT_EQ(entries.size(), 2U);
    ASSERT_TRUE(nativefiles::ListDirectoryWithStatus(dir.Path(), entries));
    EXPECT_EQ(entries.size(), 2U);
}
