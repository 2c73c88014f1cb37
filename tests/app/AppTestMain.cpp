// The main program's tests run offscreen, in the Fusion style, with one application object for the
// process. Every test process gets folders of its own for the user's data, settings, runtime files
// and music, so no test sees the user's files or another test's.

#include "support/TempDir.h"

#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const TempDir home;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_MUSIC_DIR", "HOME"}) {
        const std::string folder = home.File(name);
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        setenv(name, folder.c_str(), 1);
    }
    unsetenv("ORVANTIS_EXTRA_VOLUMES");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
