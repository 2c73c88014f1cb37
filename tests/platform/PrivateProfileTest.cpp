#include "platform/ini/PrivateProfile.h"

#include "platform/files/ReplacementFile.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using nativeini::IniEntry;
using nativeini::PrivateProfile;

namespace {

std::string TextOf(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PrivateProfile, MissingFileGivesDefaultsAndStaysMissing) {
    TempDir dir;
    const PrivateProfile profile(dir.File("Router.stat"));
    EXPECT_EQ(profile.ReadString("Stat", "ExtIP", "Error"), "Error");
    EXPECT_EQ(profile.ReadInt("Stat", "Status", 0), 0);
    EXPECT_EQ(profile.ReadInt("Update", "version", 10), 10);
    EXPECT_FALSE(std::filesystem::exists(profile.Path()));
}

TEST(PrivateProfile, FirstWriteCreatesTheFileButNotItsFolder) {
    TempDir dir;
    PrivateProfile profile(dir.File("startuptxfig"));
    ASSERT_TRUE(profile.WriteString("Startup", "file", "/home/u/My Configs/Home.TXFIG"));
    EXPECT_EQ(TextOf(profile.Path()), "[Startup]\r\nfile=/home/u/My Configs/Home.TXFIG\r\n");
    EXPECT_EQ(PrivateProfile(profile.Path()).ReadString("startup", "FILE", "Error"),
              "/home/u/My Configs/Home.TXFIG");

    PrivateProfile nowhere(dir.File("missing/startuptxfig"));
    EXPECT_FALSE(nowhere.WriteString("Startup", "file", "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(PrivateProfile, ReadsNumbersAsWindowsDoes) {
    TempDir dir;
    WriteText(dir.File("up.ini"), "[Update]\nversion=12abc\nname=abc\nempty=\nminus=-5\nplus=+7\n"
                                  "spaced=  42  \nquoted=\"8\"\nall=4294967295\nwrap=4294967297\n");
    const PrivateProfile profile(dir.File("up.ini"));
    const std::vector<std::pair<const char*, int32_t>> cases = {
        {"version", 12}, {"name", 0},    {"empty", 99}, {"missing", 99}, {"minus", -5},
        {"plus", 7},     {"spaced", 42}, {"quoted", 8}, {"all", -1},     {"wrap", 1}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(profile.ReadInt("Update", key, 99), expected) << key;
}

TEST(PrivateProfile, CutsValuesToTheCallersLength) {
    TempDir dir;
    WriteText(dir.File("cfg.txfig"), "[Stat]\nCompName=abcdef\nExtIP=\xC3\xA4\xC3\xB6\xC3\xBC\n");
    const PrivateProfile profile(dir.File("cfg.txfig"));
    EXPECT_EQ(profile.ReadString("Stat", "CompName", "Error", 3), "abc");
    EXPECT_EQ(profile.ReadString("Stat", "ExtIP", "Error", 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(profile.ReadString("Stat", "ExtPort", "Error", 2), "Er");
    EXPECT_EQ(profile.ReadString("Stat", "CompName", "Error", 200), "abcdef");
}

TEST(PrivateProfile, WriteReplacesTheFileAndNeverDeletesItFirst) {
    TempDir dir;
    const std::string path = dir.File("Router.stat");
    const std::string before = "[Stat]\nStatus=0\nExtPort=1000\nExtIP=11.0.0.1\n";
    WriteText(path, before);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    // A reader that opened the old file keeps reading the old file whole.
    const int reader = open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);

    PrivateProfile profile(path);
    ASSERT_TRUE(profile.WriteString("Stat", "Status", "1"));

    char old[64] = {};
    EXPECT_EQ(read(reader, old, sizeof old - 1), static_cast<ssize_t>(before.size()));
    EXPECT_EQ(old, before);
    close(reader);
    EXPECT_EQ(TextOf(path), "[Stat]\nStatus=1\nExtPort=1000\nExtIP=11.0.0.1\n");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"Router.stat"});
}

TEST(PrivateProfile, LeavesFilesItCannotWriteAlone) {
    TempDir dir;
    const std::string readOnly = dir.File("ro.txfig");
    WriteText(readOnly, "[Stat]\nExtIP=1\n");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(PrivateProfile(readOnly).WriteString("Stat", "ExtIP", "2"));
    EXPECT_EQ(TextOf(readOnly), "[Stat]\nExtIP=1\n");

    std::filesystem::create_directory(dir.File("folder.ini"));
    EXPECT_FALSE(PrivateProfile(dir.File("folder.ini")).WriteString("S", "k", "v"));
    EXPECT_EQ(PrivateProfile(dir.File("folder.ini")).ReadString("S", "k", "Error"), "Error");

    const std::string huge = dir.File("huge.ini");
    WriteText(huge, "[S]\nk=v\n");
    ASSERT_EQ(truncate(huge.c_str(), 64 << 20), 0);
    EXPECT_FALSE(PrivateProfile(huge).WriteString("S", "k", "w"));
    EXPECT_EQ(std::filesystem::file_size(huge), 64u << 20);

    EXPECT_FALSE(PrivateProfile(dir.File("new.ini")).WriteString("S", "k", "line\nbreak"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.ini")));
}

TEST(PrivateProfile, RemovesTheLeftoversOfWritersThatAreGone) {
    TempDir dir;
    const std::string stale = dir.File(".up.ini.partAAAAAA");
    const std::string other = dir.File(".other.ini.partCCCCCC");
    for (const std::string& path : {stale, other})
        WriteText(path, "half");
    nativefiles::ReplacementFile inUse;
    ASSERT_TRUE(inUse.Begin(dir.File("up.ini")));

    ASSERT_TRUE(PrivateProfile(dir.File("up.ini")).WriteString("Update", "version", "11"));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(inUse.TemporaryPath())) << "its writer is still at work";
    EXPECT_FALSE(std::filesystem::exists(other)) << "a killed writer's, of another file of the folder";
}

TEST(PrivateProfile, WritesOfManyThreadsAllArrive) {
    TempDir dir;
    PrivateProfile profile(dir.File("many.ini"));
    constexpr int kThreads = 4;
    constexpr int kKeysEach = 10;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&profile, t] {
            for (int k = 0; k < kKeysEach; ++k)
                EXPECT_TRUE(
                    profile.WriteString("S", "k" + std::to_string(t * kKeysEach + k), std::to_string(k)));
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int key = 0; key < kThreads * kKeysEach; ++key)
        EXPECT_EQ(profile.ReadInt("S", "k" + std::to_string(key), -1), key % kKeysEach);
}

} // namespace
