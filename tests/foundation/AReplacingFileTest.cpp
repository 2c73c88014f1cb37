// The replacing writer over what users' music folders hold: a song reached through a symbolic link,
// and a song of another user that must stay readable to that user.

#include "foundation/AReplacingFile.h"
#include "foundation/ErrorCodes.h"
#include "support/TempDir.h"

#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kOtherOwner = 12345;
constexpr gid_t kOtherGroup = 23456;

int Replace(const std::string& path, const std::string& text, bool force = false) {
    AReplacingFile file;
    if (const int result = file.Begin(AString(path), force))
        return result;
    if (const int result = file.Write(text.data(), static_cast<uint32_t>(text.size())))
        return result;
    return file.Commit();
}

std::string TextOf(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Whether a process of that user (and no other group) can open the file for reading.
bool ReadableBy(uid_t user, gid_t group, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(group) == 0 && setuid(user) == 0;
        _exit(dropped && access(path.c_str(), R_OK) == 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(AReplacingFile, ASymlinkedSongKeepsItsLinkAndItsTargetGetsTheNewContent) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("store"));
    std::filesystem::create_directories(dir.File("music"));
    WriteText(dir.File("store/song.mp3"), "old");
    ASSERT_EQ(symlink("../store/song.mp3", dir.File("music/song.mp3").c_str()), 0);

    ASSERT_EQ(Replace(dir.File("music/song.mp3"), "new"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("music/song.mp3")));
    EXPECT_EQ(TextOf(dir.File("store/song.mp3")), "new");
    EXPECT_EQ(TextOf(dir.File("music/song.mp3")), "new");
}

TEST(AReplacingFile, AReadOnlyTargetBehindALinkNeedsForceAndStaysReadOnly) {
    TempDir dir;
    WriteText(dir.File("song.mp3"), "old");
    ASSERT_EQ(chmod(dir.File("song.mp3").c_str(), 0444), 0);
    ASSERT_EQ(symlink("song.mp3", dir.File("link.mp3").c_str()), 0);
    EXPECT_EQ(Replace(dir.File("link.mp3"), "new"), kErrorOpen);
    ASSERT_EQ(Replace(dir.File("link.mp3"), "new", true), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.mp3")));
    struct stat info {};
    ASSERT_EQ(stat(dir.File("song.mp3").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

// Written as root (a run as root, or a shared folder): the song must stay its owner's, or the owner
// can no longer read a file that only the owner may read.
TEST(AReplacingFile, ASongOfAnotherOwnerStaysThatOwnersAndReadableToIt) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only a privileged test can give a file to another owner";
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    const std::string song = dir.File("song.mp3");
    WriteText(song, "old");
    ASSERT_EQ(chown(song.c_str(), kOtherOwner, kOtherGroup), 0);
    ASSERT_EQ(chmod(song.c_str(), 0600), 0);
    ASSERT_TRUE(ReadableBy(kOtherOwner, kOtherGroup, song));

    ASSERT_EQ(Replace(song, "new"), 0);
    struct stat info {};
    ASSERT_EQ(stat(song.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kOtherOwner);
    EXPECT_EQ(info.st_gid, kOtherGroup);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_TRUE(ReadableBy(kOtherOwner, kOtherGroup, song));
}
