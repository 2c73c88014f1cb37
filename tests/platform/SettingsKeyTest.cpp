#include "platform/settings/SettingsKey.h"

#include "support/TempDir.h"

#include <QSettings>
#include <filesystem>
#include <gtest/gtest.h>

using nativesettings::SettingsKey;
using nativesettings::ValueType;

namespace {

class SettingsKeyTest : public testing::Test {
protected:
    QString File() const { return QString::fromStdString(m_dir.File("settings.conf")); }

    TempDir m_dir;
};

TEST_F(SettingsKeyTest, KeepsNumbersAndTextsApart) {
    SettingsKey key(File());
    key.WriteDword("StartServer", 0);
    key.WriteString("Server_Port", "2000");
    key.WriteString("LAST_IPOD", "000A27001B2C3D4E");

    EXPECT_EQ(key.TypeOf("StartServer"), ValueType::Dword);
    EXPECT_EQ(key.ReadDword("StartServer"), 0u);
    EXPECT_EQ(key.ReadString("StartServer"), std::nullopt);
    // A port kept as text is no DWORD: the reader takes its default.
    EXPECT_EQ(key.TypeOf("Server_Port"), ValueType::String);
    EXPECT_EQ(key.ReadDword("Server_Port").value_or(10564), 10564u);
    EXPECT_EQ(key.ReadString("Server_Port"), "2000");
    EXPECT_EQ(key.ReadDword("PnPRouter"), std::nullopt);
    EXPECT_EQ(key.TypeOf("PnPRouter"), std::nullopt);
}

TEST_F(SettingsKeyTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    SettingsKey key(File());
    key.WriteDword("Manage_iPods", 0);
    key.WriteDword("MANAGE_IPODS", 1);
    EXPECT_EQ(key.ReadDword("manage_ipods"), 1u);
    key.WriteString("manage_ipods", "now a text");
    EXPECT_EQ(key.ValueNames(), QStringList{"Manage_iPods"});
    EXPECT_EQ(key.ReadString("Manage_IPODS"), "now a text");
    EXPECT_EQ(key.ReadDword("Manage_iPods"), std::nullopt);
}

TEST_F(SettingsKeyTest, WritesReachTheNextOpeningAndRemovalsToo) {
    {
        SettingsKey key(File());
        for (int n = 0; n < 5; ++n)
            key.WriteString(QStringLiteral("RECENT1_%1").arg(n), QStringLiteral("/music/%1/").arg(n));
        key.WriteDword("Server_Port", 10564);
        ASSERT_TRUE(key.Flush());
    }
    SettingsKey key(File());
    EXPECT_EQ(key.ReadDword("Server_Port"), 10564u);
    EXPECT_EQ(key.ReadString("recent1_4"), "/music/4/");
    // A shorter history leaves no stale entries behind.
    for (const QString& name : key.ValueNames()) {
        if (name.startsWith("RECENT1_") && name.mid(8).toInt() >= 2) {
            EXPECT_TRUE(key.Remove(name.toLower()));
        }
    }
    EXPECT_FALSE(key.Remove("RECENT1_2"));
    ASSERT_TRUE(key.Flush());
    EXPECT_EQ(SettingsKey(File()).ValueNames(), (QStringList{"Server_Port", "RECENT1_0", "RECENT1_1"}));
}

TEST_F(SettingsKeyTest, StringsMustFitTheCallersBuffer) {
    SettingsKey key(File());
    key.WriteString("LAST_IPOD", QString(1023, u'x'));
    key.WriteString("RECENT2_0", QString(1024, u'x'));
    EXPECT_EQ(key.ReadString("LAST_IPOD", 1024)->size(), 1023);
    EXPECT_EQ(key.ReadString("RECENT2_0", 1024), std::nullopt);
    EXPECT_EQ(key.ReadString("RECENT2_0")->size(), 1024);
}

TEST_F(SettingsKeyTest, RawQueriesSeeTheRegistrysBytes) {
    SettingsKey key(File());
    key.WriteDword("dword", 0x12345678);
    key.WriteString("empty", "");
    key.WriteString("one", "1");
    key.WriteString("two", "10");
    struct Case {
        const char* name;
        bool read;
        uint32_t member;
        std::optional<uint32_t> fourBytes;
    };
    const Case cases[] = {{"dword", true, 0x12345678, 0x12345678},
                          {"empty", true, 0xAAAA0000, std::nullopt},
                          {"one", true, 0x31, 0x31},
                          {"two", false, 0xAAAAAAAA, std::nullopt},
                          {"missing", false, 0xAAAAAAAA, std::nullopt}};
    for (const Case& c : cases) {
        uint32_t member = 0xAAAAAAAA;
        EXPECT_EQ(key.ReadIntoDword(c.name, member), c.read) << c.name;
        EXPECT_EQ(member, c.member) << c.name;
        EXPECT_EQ(key.ReadFourBytes(c.name), c.fourBytes) << c.name;
    }
}

TEST_F(SettingsKeyTest, MalformedValuesCountAsMissing) {
    WriteText(m_dir.File("settings.conf"), "[Dword]\nStartServer=yes\nServer_Port=-1\nPnPRouter=1\n"
                                           "[String]\nLAST_IPOD=a,b\nRECENT1_0=/m/\n");
    const SettingsKey key(File());
    EXPECT_EQ(key.ReadDword("StartServer"), std::nullopt);
    EXPECT_EQ(key.ReadDword("Server_Port"), std::nullopt);
    EXPECT_EQ(key.ReadDword("PnPRouter"), 1u);
    EXPECT_EQ(key.ReadString("LAST_IPOD"), std::nullopt);
    EXPECT_EQ(key.ReadString("RECENT1_0"), "/m/");
}

TEST_F(SettingsKeyTest, TheUsersKeyIsQuelloranOrvantis) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(m_dir.Path()));
    {
        SettingsKey key;
        key.WriteDword("StartServer", 1);
    }
    EXPECT_TRUE(std::filesystem::exists(m_dir.File("Quelloran/Orvantis.conf")));
    EXPECT_EQ(QSettings("Quelloran", "Orvantis").value("Dword/StartServer").toString(), "1");
}

} // namespace
