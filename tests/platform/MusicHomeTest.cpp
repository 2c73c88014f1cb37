#include "platform/paths/MusicHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(MusicHome, VariableThenUserDirsFileThenHome) {
    const std::string home = std::filesystem::temp_directory_path() / "orvantis-music-home";
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
    std::filesystem::remove_all(home);
}
