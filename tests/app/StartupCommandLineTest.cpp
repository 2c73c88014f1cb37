#include "app/state/StartupCommandLine.h"

#include "harness/QtPrinting.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    QStringList arguments;
    std::optional<QString> routerConfig;
    bool autoRun;
    uint32_t mask;
    bool about;
};

TEST(StartupCommandLineTest, ReadsTheRouterConfigurationAutoRunAndAbout) {
    const LineCase cases[] = {
        {{"Orvantis"}, std::nullopt, false, 0, false},
        // Taken as given: letter case and blanks are kept.
        {{"Orvantis", "/home/me/My Configs/Home.TXFIG"}, "/home/me/My Configs/Home.TXFIG", false, 0, false},
        {{"Orvantis", "a.txfig", "b.txfig"}, "a.txfig", false, 0, false},
        {{"Orvantis", "notes.txfig.bak"}, std::nullopt, false, 0, false},
        {{"Orvantis", "-AR", "12"}, std::nullopt, true, 12, false},
        {{"Orvantis", "-ar", " +7x"}, std::nullopt, true, 7, false},
        {{"Orvantis", "-ar", "drives"}, std::nullopt, true, 0, false},
        {{"Orvantis", "-ar"}, std::nullopt, false, 0, false},
        {{"Orvantis", "x", "-ar", "12"}, std::nullopt, false, 0, false},
        {{"Orvantis", "__d"}, std::nullopt, false, 0, true},
    };
    for (const LineCase& c : cases) {
        const StartupCommandLine line = StartupCommandLine::Parse(c.arguments);
        const std::string shown = c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.routerConfig, c.routerConfig) << shown;
        EXPECT_EQ(line.autoRun, c.autoRun) << shown;
        EXPECT_EQ(line.autoRunMask, c.mask) << shown;
        EXPECT_EQ(line.showAbout, c.about) << shown;
    }
}

} // namespace
