#include "app/settings/RouterConfig.h"
#include "app/settings/RouterTest.h"
#include "app/state/HelperProgram.h"
#include "harness/AppTestHome.h"
#include "harness/FakeHelperProgram.h"
#include "platform/ini/PrivateProfile.h"
#include "widgets/WidgetTestSupport.h"

#include <QMessageBox>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

class SavedRouterConfigTest : public testing::Test {
protected:
    nativeipc::PeerAddress Peers() const { return nativeipc::PeerAddress(QString::fromStdString(home.RuntimeFolder())); }

    void ServerProgramFound(const char* externalIp) {
        std::filesystem::create_directories(home.SyncSetsFolder());
        nativeini::PrivateProfile stat(home.SyncSetsFolder() + "/Router.stat");
        stat.WriteString("Stat", "Status", "1");
        stat.WriteString("Stat", "ExtIP", externalIp);
        stat.WriteString("Stat", "ExtPort", "10564");
    }
    // The router test with the server program reporting success while the wait runs; the texts of the
    // message boxes that showed are kept.
    std::optional<RouterConfig> Test() {
        int status = 0;
        ModalWatcher watcher([this](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                messages.append(box->text());
                box->accept();
            }
            return false;
        });
        QTimer::singleShot(200, [&status] { status = 1; });
        return RouterConfig::FromRouterTest(HelperProgram(Peers()), status, nullptr);
    }

    AppTestHome home;
    QStringList messages;
};

TEST_F(SavedRouterConfigTest, OnlyARouterOnTheInternetGivesAConfiguration) {
    const struct {
        const char* externalIp;
        bool saved;
        const char* message; // the start of the one message shown, or none
    } cases[] = {
        {"203.0.113.7", true, nullptr},
        {"192.16.8.1", true, nullptr},
        {"192.168.1.7", false, "Your router is not connected directly to the internet"},
        {"10.0.0.138", false, "Your router is not connected directly to the internet"},
        {"100.64.3.2", false, "Your router is not connected directly to the internet"},
        {"Error", false, "Unable to get your router configuration.\n"},
        {"203.0.113", false, "Unable to get your router configuration.\n"},
    };
    FakeHelperProgram helper(Peers());
    for (const auto& item : cases) {
        ServerProgramFound(item.externalIp);
        messages.clear();
        const std::optional<RouterConfig> config = Test();
        EXPECT_EQ(config.has_value(), item.saved) << item.externalIp;
        if (item.message) {
            ASSERT_EQ(messages.size(), 1) << item.externalIp;
            EXPECT_TRUE(messages[0].startsWith(QString::fromLatin1(item.message))) << item.externalIp;
        } else {
            EXPECT_TRUE(messages.isEmpty()) << item.externalIp;
        }
        if (config) {
            EXPECT_EQ(config->extIP, item.externalIp);
            EXPECT_EQ(config->extPort, "10564");
            EXPECT_FALSE(config->compName.empty());
        }
    }
}

TEST_F(SavedRouterConfigTest, WithoutTheServerProgramTheTestFails) {
    EXPECT_FALSE(Test().has_value());
    EXPECT_EQ(messages, QStringList({RouterTest::FailureMessage()}));
}

TEST_F(SavedRouterConfigTest, TheFileHoldsItsKeysInOrderAndStaysInsideItsFolder) {
    const RouterConfig config{"Study", "10564", "203.0.113.7"};
    const AString folder(home.SyncSetsFolder().c_str());
    std::filesystem::create_directories(home.SyncSetsFolder());
    const AString path = RouterConfig::MailFile(folder, "../../Study");
    EXPECT_EQ(path.ToSystem8Bit().rfind(home.SyncSetsFolder() + "/", 0), 0u);
    EXPECT_EQ(path.ToSystem8Bit().find('/', home.SyncSetsFolder().size() + 1), std::string::npos);
    ASSERT_TRUE(config.Write(path));
    std::ifstream file(path.ToSystem8Bit());
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Stat]"), std::string::npos);
    EXPECT_LT(text.find("CompName=Study"), text.find("ExtPort=10564"));
    EXPECT_LT(text.find("ExtPort=10564"), text.find("ExtIP=203.0.113.7"));
    EXPECT_FALSE(config.Write(AString((home.SyncSetsFolder() + "/missing/x.txfig").c_str())));
}

} // namespace
