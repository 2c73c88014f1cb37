// The walk decides plain folders by what their lists read when they were built: each listed entry's
// kind, size and time, and nothing for a path the list did not list or no longer holds.

#include "foundation/FileOps.h"
#include "library/songlists/ADir.h"
#include "sync/SyncFolders.h"

#include <gtest/gtest.h>

TEST(ListedInfo, AFolderListAnswersForWhatItListedOnly) {
    SyncFolders folders;
    folders.Put(1, "a.mp3", "abc", kBaseUnixTime);
    folders.Put(1, "sub/b.mp3", "b", kBaseUnixTime + 60);
    ADir list;
    const AString root = folders.Root(1);
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);

    FileInfo info;
    ASSERT_TRUE(list.GetListedFileInfo(folders.Text(1, "a.mp3"), info));
    EXPECT_EQ(info.isDirectory, 0U);
    EXPECT_EQ(info.size, 3U);
    EXPECT_EQ(info.modTime, UnixToMacTime(kBaseUnixTime));
    ASSERT_TRUE(list.GetListedFileInfo(folders.Text(1, "sub"), info));
    EXPECT_EQ(info.isDirectory, 1U);
    ASSERT_TRUE(list.GetListedFileInfo(folders.Text(1, "sub/b.mp3"), info));
    EXPECT_EQ(info.size, 1U);
    EXPECT_FALSE(list.GetListedFileInfo(folders.Text(1, "none.mp3"), info));
    EXPECT_FALSE(list.GetListedFileInfo(folders.Text(1, "A.MP3"), info));

    list.Sort(1);
    ASSERT_EQ(*list.GetEntry(0), "a.mp3");
    ASSERT_EQ(list.RemoveEntry(0, 0, 0), 0);
    EXPECT_FALSE(list.GetListedFileInfo(folders.Text(1, "a.mp3"), info));
    list.Clear();
    EXPECT_FALSE(list.GetListedFileInfo(folders.Text(1, "sub"), info));
}
