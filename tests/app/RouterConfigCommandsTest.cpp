// "Save Router Config" and "Email Router Config" against a server program that answers the router
// test as the real one does (a posted done or failed, then "Router.stat" written before the send
// returns), with the main program's endpoint listening: what is saved, what is refused and why.

#include "app/CHalvendorApp.h"
#include "app/network/RouterConfigCommands.h"
#include "app/settings/RouterTest.h"
#include "app/state/HelperProgram.h"
#include "app/window/MainMessages.h"
#include "harness/AppTestHome.h"
#include "harness/FakeHelperProgram.h"
#include "harness/WindowUnderTest.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/ipc/PeerEndpoint.h"
#include "platform/ipc/PeerLink.h"
#include "platform/shell/Shell.h"
#include "platform/ui/PrivateMessage.h"
#include "support/TempDir.h"
#include "widgets/AFileDialog.h"
#include "widgets/FileChooser.h"
#include "widgets/WidgetTestSupport.h"

#include <QMessageBox>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace nativeipc;

namespace {

constexpr int kFastTickMs = 10;

struct RecordingShell : nativeshell::Shell {
    bool OpenPage(const QString&) override { return true; }
    bool OpenPath(const QString& path) override {
        opened.push_back(path);
        return true;
    }
    bool StartProgram(const QString&, const QStringList&) override { return true; }
    bool MailFile(const QString& path) override {
        mailed.push_back(path);
        return true;
    }
    QStringList opened;
    QStringList mailed;
};

struct FixedChooser : FileChooser {
    std::optional<QStringList> Choose(const FileChooserRequest&) override { return QStringList{path}; }
    QString path;
};

// What the server program's router test finds.
struct RouterAnswer {
    bool gatewayFound = true;
    std::string status = "1";
    std::string externalIp = "203.0.113.7";
    std::string externalPort = "10564";
};

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class RouterConfigCommandsTest : public testing::Test {
protected:
    RouterConfigCommandsTest() : peers(QString::fromStdString(home.RuntimeFolder())), helper(peers) {
        std::filesystem::create_directories(home.SyncSetsFolder());
        helper.SetReaction([this](const PeerMessage& message) { React(message); });
        AFileDialog::SetChooser(&chooser);
        chooser.path = QString::fromStdString(home.Folder().File("saved.txfig"));
    }
    ~RouterConfigCommandsTest() override { AFileDialog::SetChooser(nullptr); }

    // As the server program: the test's end is posted, the status written when asked.
    void React(const PeerMessage& message) {
        if (message.number == peermessage::kHelperTestRouter) {
            const int64_t result = answer.gatewayFound ? 1 : -1;
            PeerLink(peers).Post(PeerProgram::Main,
                                 {answer.gatewayFound ? peermessage::kRouterTestDone : peermessage::kRouterTestFailed,
                                  result, result, {}});
        } else if (message.number == peermessage::kHelperWriteRouterStatus) {
            nativeini::PrivateProfile stat(home.SyncSetsFolder() + "/Router.stat");
            stat.WriteString("Stat", "Status", answer.status);
            stat.WriteString("Stat", "ExtIP", answer.externalIp);
            stat.WriteString("Stat", "ExtPort", answer.externalPort);
        }
    }
    std::unique_ptr<ModalWatcher> KeepBoxes() {
        return std::make_unique<ModalWatcher>([this](QWidget* modal) {
            if (auto* box = dynamic_cast<QMessageBox*>(modal)) {
                boxes.append(box->text());
                box->done(QMessageBox::Ok);
            }
            return false;
        });
    }

    AppTestHome home;
    PeerAddress peers;
    FakeHelperProgram helper;
    RouterAnswer answer;
    FixedChooser chooser;
    RecordingShell shell;
    QStringList boxes;
};

// The main program's endpoint, setting the status word as the window's handlers do.
struct StatusWordEndpoint {
    explicit StatusWordEndpoint(const PeerAddress& peers) : endpoint(PeerProgram::Main, peers) {
        endpoint.SetHandler([this](const PeerMessage& message) {
            if (message.number == peermessage::kRouterTestDone && message.wParam != 0)
                status = 1;
            if (message.number == peermessage::kRouterTestFailed && message.wParam != 0)
                status = -1;
            return int64_t{1};
        });
        endpoint.Listen();
    }
    PeerEndpoint endpoint;
    int status = 0;
};

TEST_F(RouterConfigCommandsTest, OnlyARouterReachableFromTheInternetIsSaved) {
    const QString behind = RouterTest::BehindAnotherRouterMessage();
    const QString none = RouterTest::NoConfigurationMessage();
    const struct {
        RouterAnswer router;
        QString message; // empty: saved
    } cases[] = {
        {{true, "1", "203.0.113.7", "10564"}, {}},
        {{true, "1", "192.16.8.1", "10564"}, {}},
        {{true, "1", "192.168.1.7", "10564"}, behind},
        {{true, "1", "10.1.2.3", "10564"}, behind},
        {{true, "1", "172.20.0.1", "10564"}, behind},
        {{true, "1", "100.64.0.9", "10564"}, behind},
        {{true, "1", "169.254.3.3", "10564"}, behind},
        {{true, "1", "127.0.0.1", "10564"}, behind},
        {{true, "1", "Error", "10564"}, none},
        {{true, "1", "203.0.113", "10564"}, none},
        {{true, "1", "203.0.113.7", "Error"}, none},
        {{true, "0", "203.0.113.7", "10564"}, none},
        {{false, "1", "203.0.113.7", "10564"}, RouterTest::FailureMessage()},
    };
    StatusWordEndpoint main(peers);
    const HelperProgram link(peers);
    RouterTest test(link, main.status);
    test.SetWaitTick(kFastTickMs);
    const auto watcher = KeepBoxes();
    const std::string saved = chooser.path.toStdString();
    for (const auto& c : cases) {
        const std::string label = c.router.externalIp + " " + c.router.externalPort + " " + c.router.status;
        answer = c.router;
        boxes.clear();
        std::filesystem::remove(saved);
        RouterConfigCommands(test, link, &shell).SaveRouterConfig(nullptr);
        EXPECT_EQ(std::filesystem::exists(saved), c.message.isEmpty()) << label;
        EXPECT_EQ(boxes, c.message.isEmpty() ? QStringList() : QStringList{c.message}) << label;
    }
    // The last saved file: its keys in their order.
    answer = RouterAnswer{};
    RouterConfigCommands(test, link, &shell).SaveRouterConfig(nullptr);
    const std::string text = ReadText(saved);
    const size_t name = text.find("CompName=" + RouterConfigCommands::ComputerName());
    const size_t port = text.find("ExtPort=10564");
    const size_t ip = text.find("ExtIP=203.0.113.7");
    ASSERT_NE(ip, std::string::npos) << text;
    EXPECT_LT(name, port);
    EXPECT_LT(port, ip);
}

TEST_F(RouterConfigCommandsTest, AServerProgramThatNeverReportsIsGivenUp) {
    helper.SetReaction({});
    StatusWordEndpoint main(peers);
    const HelperProgram link(peers);
    RouterTest test(link, main.status);
    test.SetWaitTick(kFastTickMs);
    const auto watcher = KeepBoxes();
    EXPECT_FALSE(RouterConfigCommands(test, link, &shell).ShowRouterStatus(nullptr));
    EXPECT_EQ(main.status, -1);
    EXPECT_EQ(boxes, QStringList{RouterTest::FailureMessage()});
}

TEST_F(RouterConfigCommandsTest, TheWindowMailsTheConfigurationFromSyncSetsAndReportsAWriteFailure) {
    WindowUnderTest window(home, {}, {.shell = &shell});
    PeerEndpoint main(PeerProgram::Main, peers);
    main.SetHandler([&](const PeerMessage& message) { return CHalvendorApp::HandlePeerMessage(window.Window(), message); });
    ASSERT_EQ(main.Listen(), PeerEndpoint::ListenResult::Listening);
    ASSERT_TRUE(window.StartAndWaitIdle());
    const auto watcher = KeepBoxes();
    const auto command = [&](int id) {
        nativeui::PrivateMessage::Post(&window.Window(), nativeui::kWmCommand, nativeui::MakeWParam(id, 0));
    };

    command(mainmsg::kCmdEmailRouterConfig);
    ASSERT_TRUE(SpinUntil([&] { return !shell.mailed.isEmpty(); }, std::chrono::seconds(10))) << boxes.join("|").toStdString();
    const std::string mailed = shell.mailed[0].toStdString();
    EXPECT_EQ(std::filesystem::path(mailed).parent_path(), std::filesystem::path(home.SyncSetsFolder()));
    EXPECT_EQ(std::filesystem::path(mailed).extension(), ".txfig");
    EXPECT_EQ(nativeini::PrivateProfile(mailed).ReadString("Stat", "ExtIP", ""), "203.0.113.7");

    // A file that cannot be written is reported and nothing is mailed.
    std::filesystem::remove(mailed);
    std::filesystem::create_directory(mailed);
    command(mainmsg::kCmdEmailRouterConfig);
    ASSERT_TRUE(SpinUntil([&] { return !boxes.isEmpty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(boxes, QStringList{RouterConfigCommands::WriteFailureMessage(QString::fromStdString(mailed))});
    EXPECT_EQ(shell.mailed.size(), 1);

    command(mainmsg::kCmdSaveRouterConfig);
    ASSERT_TRUE(SpinUntil([&] { return std::filesystem::exists(chooser.path.toStdString()); }, std::chrono::seconds(10)));
}

} // namespace
