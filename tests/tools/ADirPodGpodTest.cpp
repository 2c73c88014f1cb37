// libgpod reads what the iPod's list wrote through the music application: a song copied onto the iPod
// is a track whose file it finds, a deleted song and its file are gone, a new playlist is there.
#include "GpodView.h"
#include "library/entries/EntryText.h"
#include "library/ipod/PodSourceFixture.h"
#include "library/songlists/ADirPod.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class ADirPodWithGpod : public PodSourceFixture {};

TEST_F(ADirPodWithGpod, ItFindsTheCopiedSongAndLosesTheDeletedOne) {
    ADirPod list;
    const AString root = ADirPod::RootOf(AString(kPodName));
    ASSERT_EQ(0, list.Open(&root, 0, nullptr));
    list.Sort(1);
    ASSERT_EQ("\\Rock\\Artist\\Album\\Zeta\\mp3", EntryWithoutId(*list.GetEntry(2)).ToUtf8());
    ASSERT_EQ(0, list.AddSong(AString(NewSong("new.mp3", "Brand New")), nullptr));
    ASSERT_EQ(0, list.DeleteFile(root + *list.GetEntry(2), 0, 0));
    ASSERT_EQ(0, list.CreatePlayList(AString("Party")));

    const GpodView view = ReadWithGpod(mountPoint);
    ASSERT_EQ(3u, view.files.size());
    EXPECT_EQ(PodFile("iPod_Control/Music/F01/ALFA.m4a"), view.files.at("Alpha"));
    const std::string copy = view.files.at("Brand New");
    EXPECT_TRUE(copy.starts_with(PodFile("iPod_Control/Music/F"))) << copy;
    EXPECT_TRUE(std::filesystem::exists(copy)) << copy;
    EXPECT_FALSE(std::filesystem::exists(PodFile("iPod_Control/Music/F00/ZETA.mp3")));
    EXPECT_EQ((std::map<std::string, int>{{"My iPod", 3}, {"Favourites", 1}, {"Party", 0}}), view.playLists);
}

} // namespace
