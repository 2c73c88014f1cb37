#include "library/itunes/ReadTunesPrefs.h"

#include "foundation/ErrorCodes.h"
#include "library/songlists/TestSongFiles.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

// A preferences file as iTunes writes it: text lines, the "Preferences:" marker, then after the first
// '=' a block of 6054 bytes and the account as groups of four hexadecimal digits.
std::string PrefsText(const std::string& accountDigits) {
    std::string text = "iTunes prefs\r\nVersion: 7\r\nPreferences:\r\nkey x=";
    text += std::string(6054, '.');
    text += accountDigits;
    return text;
}

} // namespace

TEST(ReadTunesPrefsTest, ReadsTheAccountName) {
    TempDir dir;
    WriteTextFile(dir.File("iTunes.pref"), PrefsText("006D0065004000680064002E00630061"
                                                     "0000"
                                                     "0041"));
    AString name("old");
    ASSERT_EQ(ReadTunesPrefsFile(dir.Text("iTunes.pref"), name), 0);
    EXPECT_EQ(name, AString("me@hd.ca"));
}

TEST(ReadTunesPrefsTest, FailuresLeaveTheNameUnchanged) {
    TempDir dir;
    AString name("old");
    WriteTextFile(dir.File("empty account.pref"), PrefsText("0000"));
    EXPECT_EQ(ReadTunesPrefsFile(dir.Text("empty account.pref"), name), kErrorNoAccountName);
    WriteTextFile(dir.File("no marker.pref"), "iTunes prefs\r\nSettings:\r\nkey=value\r\n");
    EXPECT_LT(ReadTunesPrefsFile(dir.Text("no marker.pref"), name), 0);
    WriteTextFile(dir.File("cut.pref"), PrefsText("0041"));
    EXPECT_EQ(ReadTunesPrefsFile(dir.Text("cut.pref"), name), kErrorShortRead);
    EXPECT_LT(ReadTunesPrefsFile(dir.Text("missing.pref"), name), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.pref")));
    EXPECT_EQ(name, AString("old"));
}

TEST(ReadTunesPrefsTest, LooksInTheApplicationDataFolder) {
    TempDir dir;
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
    WriteTextFile(dir.File("Apple Computer/iTunes/iTunes.pref"), PrefsText("004A006F0000"));
    AString name;
    const int result = ReadTunesPrefs(name);
    if (old)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(result, 0);
    EXPECT_EQ(name, AString("Jo"));
}
