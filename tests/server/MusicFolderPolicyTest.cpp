#include "server/requests/MusicFolderPolicy.h"

#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using Access = PathPolicy::Access;

namespace {

class MusicFolderPolicyTest : public testing::Test {
protected:
    MusicFolderPolicyTest() : policy(AString(music)) {
        std::filesystem::create_directories(music + "/Artist");
        WriteText(music + "/Artist/Song.mp3", "song");
        WriteText(outside.File("secret.txt"), "secret");
        std::filesystem::create_symlink(outside.File("secret.txt"), music + "/link-out.mp3");
        std::filesystem::create_symlink(outside.Path(), music + "/folder-out");
        std::filesystem::create_symlink(music + "/Artist/Song.mp3", music + "/link-in.mp3");
        std::filesystem::create_directories(base.File("Music2"));
        WriteText(base.File("Music2/other.mp3"), "other");
    }

    bool Allows(const std::string& path, Access access) const {
        return policy.Resolve(AString(path), access).has_value();
    }

    TempDir base;
    TempDir outside;
    std::string music = base.File("Music");
    MusicFolderPolicy policy;
};

} // namespace

TEST_F(MusicFolderPolicyTest, AllowsTheFilesUnderTheFolderAndNothingElse) {
    const struct {
        std::string path;
        bool read;
        bool write;
        const char* why;
    } cases[] = {
        {music + "/Artist/Song.mp3", true, true, "a song"},
        {music + "/Artist/New.mp3", true, true, "a song not there yet"},
        {music + "/New Artist/New.mp3", true, true, "in a folder not there yet"},
        {music + "/link-in.mp3", true, true, "a link to a song of the folder"},
        {music, true, false, "the folder itself is read, never written"},
        {music + "/Artist/../Artist/Song.mp3", false, false, "\"..\", even when it stays inside"},
        {music + "/../Music2/other.mp3", false, false, "\"..\" out of the folder"},
        {base.File("Music2/other.mp3"), false, false, "a folder whose name begins like the music folder's"},
        {outside.File("secret.txt"), false, false, "another folder"},
        {music + "/link-out.mp3", false, false, "a link out of the folder"},
        {music + "/folder-out/secret.txt", false, false, "through a linked folder out"},
        {music + "/folder-out/new.txt", false, false, "a new file through a linked folder out"},
        {"Artist/Song.mp3", false, false, "a relative path"},
        {"", false, false, "nothing"},
        {"/etc/passwd", false, false, "a system file"},
        {"?server:" + music + "/Artist/Song.mp3", false, false, "a remote path"},
    };
    for (const auto& example : cases) {
        EXPECT_EQ(Allows(example.path, Access::Read), example.read) << example.why;
        EXPECT_EQ(Allows(example.path, Access::Write), example.write) << example.why;
    }
}

TEST_F(MusicFolderPolicyTest, GivesThePathWithItsLinksResolved) {
    const auto resolved = policy.Resolve(AString(music + "/link-in.mp3"), Access::Read);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(*resolved, AString(std::filesystem::canonical(music + "/Artist/Song.mp3").string()));
}

TEST_F(MusicFolderPolicyTest, ATextWithANulCharacterIsRefused) {
    AString withNul(music + "/Artist/Song.mp3");
    withNul.Insert(withNul.GetLength() - 4, AString(std::u16string_view(u"\0x", 2)));
    EXPECT_FALSE(policy.Resolve(withNul, Access::Read));
}
