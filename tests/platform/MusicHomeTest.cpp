#include "platform/paths/MusicHome.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(MusicHome, VariableThenUserDirsFileThenHome) {
    TempDir dir;
    const std::string home = dir.Path();
    std::filesystem::create_directories(home + "/.config");
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");

    setenv("XDG_MUSIC_DIR", "/srv/music", 1);
    EXPECT_EQ(nativepaths::MusicHome(), "/srv/music");
    unsetenv("XDG_MUSIC_DIR");
    EXPECT_EQ(nativepaths::MusicHome(), home + "/Music");
    std::ofstream(home + "/.config/user-dirs.dirs") << "# comment\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n";
    EXPECT_EQ(nativepaths::MusicHome(), home + "/Tunes");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(MusicHome, TheUserDirsFileNamesTheFolderAsTheShellReadsIt) {
    const struct {
        const char* text;
        const char* folder;
    } cases[] = {
        {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", "/home/anna/Music"},
        {"# XDG_MUSIC_DIR=\"$HOME/Old\"\nXDG_MUSIC_DIR=\"/srv/music\"\n", "/srv/music"},
        {"XDG_MUSIC_DIR=\"$HOME/My \\\"Best\\\" \\$ongs\"\r\n", "/home/anna/My \"Best\" $ongs"},
        {"  XDG_MUSIC_DIR=\"$HOME\"  \n", "/home/anna"},
        {"XDG_MUSIC_DIR=\"$HOMEWORK/x\"\nXDG_MUSIC_DIR=\"relative\"\n", ""},
        {"XDG_MUSIC_DIR=\"$HOME/a\"b\"\nXDG_MUSIC_DIR=\"\nXDG_MUSIC_DIR=\"\\", ""},
        {"XDG_VIDEOS_DIR=\"$HOME/Videos\"\n", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nativepaths::MusicFolderInUserDirs(c.text, "/home/anna"), c.folder) << c.text;
}
