#include "app/state/AppSettings.h"
#include "platform/settings/SettingsKey.h"
#include "support/TempDir.h"

#include "harness/QtPrinting.h"

#include <gtest/gtest.h>

using nativesettings::SettingsKey;

namespace {

class AppSettingsTest : public testing::Test {
protected:
    QString File() const { return QString::fromStdString(m_dir.File("settings.conf")); }
    AppSettings Loaded() const {
        AppSettings settings;
        settings.Load(SettingsKey(File()));
        return settings;
    }

    TempDir m_dir;
};

TEST_F(AppSettingsTest, AnEmptyKeyGivesTheDefaults) {
    const AppSettings settings = Loaded();
    EXPECT_EQ(settings.startServer, 1u);
    EXPECT_EQ(settings.serverPort, 10564u);
    EXPECT_EQ(settings.activePage1, 1u);
    EXPECT_EQ(settings.activePage2, 0u);
    EXPECT_EQ(settings.logWindow, 0u);
    EXPECT_TRUE(settings.lastDevice.isEmpty());
    EXPECT_TRUE(settings.iTunesHistory.isEmpty());
}

TEST_F(AppSettingsTest, ServerValuesOfAnotherTypeReadAsTheirDefaults) {
    {
        SettingsKey key(File());
        key.WriteString("Server_Port", "2000");
        key.WriteString("PnPRouter", "1");
        key.WriteDword("StartServer", 0);
        key.WriteDword("Manage_iPods", 1);
    }
    const AppSettings settings = Loaded();
    EXPECT_EQ(settings.serverPort, 10564u);
    EXPECT_EQ(settings.pnpRouter, 0u);
    EXPECT_EQ(settings.startServer, 0u);
    EXPECT_EQ(settings.manageIPods, 1u);
}

struct PageCase {
    const char* name;
    uint32_t stored;
    uint32_t AppSettings::*member;
    uint32_t expected;
};

TEST_F(AppSettingsTest, TheSheetsPagesAreKeptInRange) {
    const PageCase cases[] = {
        // Five tabs: a tab below 5 is kept, a larger value is masked as older programs did.
        {"ACTIVE_PAGE1", 4, &AppSettings::activePage1, 4},
        {"ACTIVE_PAGE1", 5, &AppSettings::activePage1, 1},
        {"ACTIVE_PAGE1", 7, &AppSettings::activePage1, 3},
        {"ACTIVE_PAGE2", 3, &AppSettings::activePage2, 2},
        {"ACTIVE_PAGE2", 5, &AppSettings::activePage2, 1},
        {"ACTIVE_PAGE3", 6, &AppSettings::activePage3, 5},
        {"ACTIVE_PAGE3", 7, &AppSettings::activePage3, 5},
        {"ACTIVE_PAGE3", 12, &AppSettings::activePage3, 4},
    };
    for (const PageCase& c : cases) {
        SettingsKey(File()).WriteDword(c.name, c.stored);
        EXPECT_EQ(Loaded().*c.member, c.expected) << c.name << " = " << c.stored;
    }
}

TEST_F(AppSettingsTest, HistoriesSkipEmptyTextsAndStopAtTheFirstGap) {
    {
        SettingsKey key(File());
        key.WriteString("RECENT1_0", "");
        key.WriteString("RECENT1_1", "/music/moved");
        key.WriteString("RECENT1_3", "/after/a/gap");
        key.WriteString("RECENT2_1", "/no/first/value");
    }
    const AppSettings settings = Loaded();
    EXPECT_EQ(settings.iTunesHistory, QStringList({"/music/moved"}));
    EXPECT_TRUE(settings.iPodHistory.isEmpty());
}

TEST_F(AppSettingsTest, TheRemoteFlagCountsOnlyWithALastDevice) {
    SettingsKey(File()).WriteDword("Last_Sync_IS_Remote", 1);
    EXPECT_EQ(Loaded().lastSyncWasRemote, 0u);
    SettingsKey(File()).WriteString("LAST_IPOD", "studio");
    const AppSettings settings = Loaded();
    EXPECT_EQ(settings.lastSyncWasRemote, 1u);
    EXPECT_EQ(settings.rememberedRemoteHost, "studio");
    EXPECT_EQ(settings.remoteSelected, 0u);
}

TEST_F(AppSettingsTest, SavingRoundTripsAndDropsStaleHistoryValues) {
    AppSettings settings;
    settings.lastDevice = "0A1B2C3D";
    settings.logWindow = 1;
    settings.activePage1 = 4;
    settings.serverPort = 2000;
    settings.iTunesHistory = {"/a", "/b", "/c"};
    settings.Save(*std::make_unique<SettingsKey>(File()));
    settings.iTunesHistory = {"/z"};
    settings.Save(*std::make_unique<SettingsKey>(File()));

    const AppSettings loaded = Loaded();
    EXPECT_EQ(loaded.lastDevice, "0A1B2C3D");
    EXPECT_EQ(loaded.logWindow, 1u);
    EXPECT_EQ(loaded.activePage1, 4u);
    EXPECT_EQ(loaded.serverPort, 2000u);
    EXPECT_EQ(loaded.iTunesHistory, QStringList({"/z"}));
    const SettingsKey key(File());
    EXPECT_FALSE(key.TypeOf("RECENT1_1").has_value());
    EXPECT_FALSE(key.TypeOf("RECENT1_2").has_value());
    // The server program's own values are never written by the main program.
    EXPECT_FALSE(key.TypeOf("Manage_iPods").has_value());
    EXPECT_EQ(key.TypeOf("Server_Port"), nativesettings::ValueType::Dword);
}

} // namespace
