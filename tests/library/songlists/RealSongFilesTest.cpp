#include "foundation/AMemFile.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirSongDir.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Songs written by real tagging tools (tests/fixtures/tags), filed in a tree as a user would keep them.
const char* const kTree[][2] = {
    {"id3v1_only.mp3", "Rock/Some Artist/five.mp3"},
    {"v24_mutagen.mp3", "Jazz/bjork.mp3"},
    {"v23_eyed3_extended.mp3", "Rock/Greek/ubung.mp3"},
    {"v23_unsync.mp3", "Pop/unsync.mp3"},
    {"mp4_atomicparsley.m4a", "Shows/episode.m4a"},
    {"mp4_64bit.m4a", "Jazz/wide.m4a"},
    {"vbr_mpeg1.mp3", "Untagged/vbr_mpeg1.mp3"},
    {"odd_chunk.aif", "Other/odd_chunk.aif"},
    {"tiny.jpg", "Other/cover.jpg"},
};

// The test program knows the fixtures' folder; the support library's FixturePath does not.
std::string TagFixture(const std::string& name) {
    return std::string(ORVANTIS_FIXTURES) + "/tags/" + name;
}

void CopyTree(const TempDir& dir) {
    for (const auto& [fixture, place] : kTree) {
        const std::string target = dir.File(std::string("music/") + place);
        std::filesystem::create_directories(std::filesystem::path(target).parent_path());
        std::filesystem::copy_file(TagFixture(fixture), target);
    }
}

std::vector<std::string> Entries(ADir& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i) {
        const std::string entry = list.GetEntry(i)->ToUtf8();
        entries.push_back(entry.substr(0, entry.rfind('?')));
    }
    return entries;
}

} // namespace

const std::vector<std::string> kAscending = {
    "\\*\\6804\\*\\vbr_mpeg1\\mp3",
    "\\Jazz\\Album Artist\\D\xC3\xA9"
    "but\\A title long enough that its frame needs more than one hundred and "
    "twenty-seven bytes, so that the synchsafe size of the frame takes two bytes\\mp3",
    "\\Jazz\\Wide Artist\\Wide Album\\Wide Title\\m4a",
    "\\Pop\\\xC3\x84rtist\\Album \xC3\xBF\xC3\xBF\\\xC3\x9Cnsynchronised \xC3\xBF title\\mp3",
    "\\Rock\\MP4 Artist\\MP4 Album\\MP4 Title\\m4a",
    "\\Rock\\Some Artist\\An Album\\Five\\mp3",
    "\\Rock\\\xCE\x96\xCF\x89\xCE\xAE Artist\\Plain Album\\\xC3\x96lmalerei \xE2\x80\x93 \xC3\x9C"
    "bung\\mp3",
};

TEST(RealSongFilesTest, ATreeOfTaggedFilesReadsIntoItsEntryTexts) {
    TempDir dir;
    CopyTree(dir);
    ADirSongDir list;
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    list.Sort(1);
    EXPECT_EQ(Entries(list), kAscending);
    list.Sort(0);
    EXPECT_EQ(Entries(list), std::vector<std::string>(kAscending.rbegin(), kAscending.rend()));
    for (int i = 0; i < list.GetCount(); ++i) {
        AString path;
        ASSERT_EQ(list.GetFullPath(*list.GetEntry(i), path, 0), 0);
        EXPECT_TRUE(::FileExists(path));
        EXPECT_NE(list.GetFileDate(*list.GetEntry(i)), 0u);
    }

    list.SetTrackLevel(1);
    list.SetTypeLevel(0);
    list.SetGenreFilter({2, AString(), AString(":JAZZ:")});
    list.SetTitleFilter({1, AString(":Title:Five:"), AString()});
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    list.Sort(1);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"\\Rock\\MP4 Artist\\MP4 Album\\5\\MP4 Title",
                                                       "\\Rock\\Some Artist\\An Album\\200\\Five"}));
}

TEST(RealSongFilesTest, TheSavedListLoadsBackEqual) {
    TempDir dir;
    CopyTree(dir);
    ADirSongDir list;
    const AString root = dir.Text("music");
    ASSERT_EQ(list.Open(&root, 0, CancelCallback()), 0);
    list.Sort(1);
    AMemFile saved;
    ASSERT_EQ(list.Save(saved, 0), 0);
    ADirSongDir loaded;
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    ASSERT_EQ(loaded.Load(reader, 0), 0);
    EXPECT_EQ(Entries(loaded), kAscending);
    AMemFile again;
    ASSERT_EQ(loaded.Save(again, 0), 0);
    EXPECT_EQ(std::vector<uint8_t>(again.GetBuffer(), again.GetBuffer() + again.GetSize()),
              std::vector<uint8_t>(saved.GetBuffer(), saved.GetBuffer() + saved.GetSize()));
    for (int i = 0; i < loaded.GetCount(); ++i) {
        AString path;
        EXPECT_EQ(loaded.GetFullPath(*loaded.GetEntry(i), path, 0), 0);
    }
}

TEST(RealSongFilesTest, DuplicatesKeepTheCopyTheKeepRuleChooses) {
    TempDir dir;
    CopyTree(dir);
    std::filesystem::create_directories(dir.File("music/Copies"));
    std::filesystem::copy_file(TagFixture("mp4_atomicparsley.m4a"), dir.File("music/Copies/episode.m4p"));
    std::filesystem::copy_file(TagFixture("v23_unsync.mp3"), dir.File("music/Copies/unsync 1.mp3"));
    for (const char* name : {"music/Copies/episode.m4p", "music/Shows/episode.m4a",
                             "music/Copies/unsync 1.mp3", "music/Pop/unsync.mp3"})
        ASSERT_EQ(SetFileModTime(dir.Text(name), UnixToMacTime(1200000000), false), 0);
    auto keptCopies = [&dir](const char* allowedAccounts) {
        ADirSongDir list;
        list.SetTypeLevel(0);
        list.SetAllowedAppleIDs(AString(allowedAccounts));
        const AString root = dir.Text("music");
        EXPECT_EQ(list.Open(&root, 0, CancelCallback()), 0);
        EXPECT_EQ(list.GetCount(), 9);
        EXPECT_EQ(list.FindDuplicates(0, 1, 1, CancelCallback(), 0), 0);
        std::vector<std::string> kept;
        for (int i = 0; i < list.GetCount(); ++i) {
            AString path;
            EXPECT_EQ(list.GetFullPath(*list.GetEntry(i), path, 1), 0);
            const std::string text = path.ToSystem8Bit();
            if (text.find("unsync") != std::string::npos || text.find("episode") != std::string::npos)
                kept.push_back(text.substr(dir.File("music/").size()));
        }
        std::sort(kept.begin(), kept.end());
        return kept;
    };
    // The unnumbered copy stays; bought with the user's account, the protected copy wins.
    EXPECT_EQ(keptCopies(":me@home:someone@example.com:"),
              (std::vector<std::string>{"Copies/episode.m4p", "Pop/unsync.mp3"}));
    // Both episode copies name another account: the rule still keeps exactly one of them.
    const std::vector<std::string> foreign = keptCopies(":me@home:");
    ASSERT_EQ(foreign.size(), 2u);
    EXPECT_TRUE(foreign[0] == "Copies/episode.m4p" || foreign[1] == "Shows/episode.m4a");
    EXPECT_TRUE(std::filesystem::exists(dir.File("music/Copies/unsync 1.mp3")));
}
