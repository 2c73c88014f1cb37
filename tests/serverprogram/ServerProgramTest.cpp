#include "platform/ipc/PeerEndpoint.h"
#include "platform/settings/SettingsKey.h"
#include "platform/shell/Shell.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/FoundHost.h"
#include "remote/HostListFile.h"
#include "remote/LinkCodes.h"
#include "remote/SyncSetsFolder.h"
#include "server/program/CHalvendorHelper2App.h"
#include "server/program/CMainFrame.h"
#include "server/program/HelperSettings.h"
#include "server/program/HelperSocketServer.h"
#include "server/program/HelperTrayMenu.h"
#include "server/program/VolumeArrivals.h"
#include "server/router/RouterStatusFile.h"
#include "support/IgdEmulator.h"
#include "support/ScopedDataHome.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <thread>
#include <vector>

using namespace nativeipc;

namespace {

constexpr uint32_t kServerAddress = 0x7F000002; // 127.0.0.2
constexpr uint32_t kNewAddress = 0x7F000003;    // 127.0.0.3
constexpr int kWaitMs = 5000;

uint16_t RandomPort() {
    static std::mt19937 random{std::random_device{}()};
    return static_cast<uint16_t>(20000 + random() % 20000);
}

// The main program as the server program reaches it: every message it receives.
struct MainProgramRecorder {
    explicit MainProgramRecorder(const PeerAddress& address) : endpoint(PeerProgram::Main, address) {
        endpoint.SetHandler([this](const PeerMessage& message) {
            received.push_back(message);
            return int64_t{0};
        });
        endpoint.Listen();
    }
    bool WaitFor(size_t count) {
        QElapsedTimer timer;
        timer.start();
        while (received.size() < count && timer.elapsed() < kWaitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return received.size() >= count;
    }
    PeerEndpoint endpoint;
    std::vector<PeerMessage> received;
};

struct RecordingShell : nativeshell::Shell {
    bool OpenPage(const QString&) override { return true; }
    bool OpenPath(const QString&) override { return true; }
    bool StartProgram(const QString& program, const QStringList& arguments) override {
        started.push_back(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        return true;
    }
    bool MailFile(const QString&) override { return true; }
    std::vector<QString> started;
};

class ServerProgramTest : public testing::Test {
protected:
    ServerProgramTest() : dataHome(dir.File("data")) {
        std::filesystem::create_directories(dir.File("run"));
    }

    // A frame listening on 127.0.0.2 on a free port, without Bonjour or a router.
    std::unique_ptr<CMainFrame> StartFrame(bool startServer = true) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            settings.startServer = startServer;
            settings.serverPort = RandomPort();
            CMainFrame::Setup setup;
            setup.peers = Peers();
            setup.shell = &shell;
            setup.mainProgram = QStringLiteral("/stand-in/Orvantis");
            setup.loadSettings = [this] {
                ++loads;
                return settings;
            };
            setup.localIPv4 = [this] { return address; };
            if (!routerOfItsOwn) {
                setup.findGateway = [this](const std::string& descriptionUrl) {
                    std::lock_guard lock(gatewayLock);
                    gatewayUrls.push_back(descriptionUrl);
                    return nullptr;
                };
            }
            setup.today = [this] { return today; };
            setup.confirmExit = [this] { return exitAnswer; };
            setup.dnsSdLibrary = dir.File("no-dns-sd.so");
            setup.showTrayIcon = false;
            setup.volumeWatchMs = volumeWatchMs;
            auto frame = std::make_unique<CMainFrame>(std::move(setup));
            frame->Start();
            frame->WaitForControl();
            if (!startServer || frame->IsListening())
                return frame;
        }
        return nullptr;
    }
    PeerAddress Peers() const { return PeerAddress(QString::fromStdString(dir.File("run"))); }
    std::string SyncSets() const {
        AString folder;
        EXPECT_TRUE(GetSyncSetsFolder(folder));
        return folder.ToSystem8Bit();
    }
    // The exit code of the event loop the command ran in: 0 when it quit the program, 1 when it did not.
    static int LoopExitAfter(const std::function<void()>& command) {
        QTimer::singleShot(0, command);
        QTimer::singleShot(300, [] { QCoreApplication::exit(1); });
        return QCoreApplication::exec();
    }

    // Whether something listens there (a connection is accepted).
    static bool Accepts(uint32_t host, uint16_t port) {
        const auto deadline = nativesockets::Deadline::AfterMs(kWaitMs);
        return nativesockets::ConnectTcp(host, port, deadline, nullptr).IsOpen();
    }
    static void ProcessEventsFor(int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    static bool ProcessEventsUntil(const std::function<bool()>& condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < kWaitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return condition();
    }
    std::vector<std::string> GatewayUrls() {
        std::lock_guard lock(gatewayLock);
        return gatewayUrls;
    }

    TempDir dir;
    ScopedDataHome dataHome;
    HelperSettings settings;
    int loads = 0;
    std::optional<uint32_t> address = kServerAddress;
    QDate today{2024, 3, 1};
    int volumeWatchMs = CMainFrame::kVolumeWatchMs;
    std::mutex gatewayLock;
    std::vector<std::string> gatewayUrls; // the description address of each gateway search
    RecordingShell shell;
    bool exitAnswer = false;
    // The router is found through miniupnpc at the settings' description address.
    bool routerOfItsOwn = false;
};

TEST(HelperSettingsTest, APortWithoutRoomForItsProbePortIsTheDefault) {
    const struct {
        uint32_t stored;
        uint16_t port;
    } cases[] = {{0, 10564}, {1, 1}, {10000, 10000}, {65534, 65534}, {65535, 10564}, {0xFFFFFFFF, 10564}};
    for (const auto& item : cases)
        EXPECT_EQ(HelperSettings::PortOf(item.stored), item.port) << item.stored;
}

TEST(HelperSettingsTest, MissingOrMalformedValuesTakeTheirDefaults) {
    TempDir dir;
    nativesettings::SettingsKey key(QString::fromStdString(dir.File("settings.ini")));
    key.WriteString(QStringLiteral("StartServer"), QStringLiteral("no"));
    key.WriteDword(QStringLiteral("Server_Port"), 70000);
    key.WriteDword(QStringLiteral("PnPRouter"), 1);
    key.WriteDword(QStringLiteral("Manage_iPods"), 1);
    const HelperSettings settings = HelperSettings::Load(key);
    EXPECT_TRUE(settings.startServer);
    EXPECT_EQ(settings.serverPort, 10564);
    EXPECT_TRUE(settings.portForwarding);
    EXPECT_TRUE(settings.manageIPods);
    EXPECT_FALSE(settings.manageShuffles);
}

TEST(HelperTrayMenuTest, TheServerCommandFollowsListening) {
    for (const bool listening : {false, true}) {
        const std::vector<HelperTrayItem> items = HelperTrayMenu::Items(listening);
        ASSERT_EQ(items.size(), 4u);
        EXPECT_EQ(items[0].id, 32772);
        EXPECT_EQ(items[0].text, QString::fromUtf8("About Orvantis\u2122"));
        EXPECT_EQ(items[1].text, QStringLiteral("Show Orvantis"));
        EXPECT_EQ(items[2].id, 32778);
        EXPECT_EQ(items[2].text, listening ? QStringLiteral("Stop Server") : QStringLiteral("Start Server"));
        EXPECT_EQ(items[3].id, 32779);
        EXPECT_EQ(items[3].text, QStringLiteral("Exit"));
    }
}

TEST_F(ServerProgramTest, StartServerTogglesListening) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnTrayCommand(HelperTrayMenu::kStartStopServer);
    frame->WaitForControl();
    EXPECT_FALSE(frame->IsListening());
    frame->OnTrayCommand(HelperTrayMenu::kStartStopServer);
    frame->WaitForControl();
    EXPECT_TRUE(frame->IsListening());
}

// The tray's "Stop Server" takes the router's mapping of the server away with it; "Start Server" makes
// it again, and while the server is off the hourly look at the address leaves the router alone.
TEST_F(ServerProgramTest, StoppingTheServerDeletesTheMappingItAddedAndStartingMakesItAgain) {
    IgdEmulator router;
    routerOfItsOwn = true;
    settings.portForwarding = true;
    settings.gatewayDescription = router.DescriptionUrl();
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    const auto mapped = [&] {
        const std::vector<IgdMapping> mappings = router.Mappings();
        return std::count_if(mappings.begin(), mappings.end(), [&](const IgdMapping& mapping) {
            return mapping.internalClient == "127.0.0.2" && mapping.internalPort == settings.serverPort;
        });
    };
    ASSERT_TRUE(ProcessEventsUntil([&] { return mapped() == 1; })) << "mapped at the start";

    frame->OnTrayCommand(HelperTrayMenu::kStartStopServer);
    frame->WaitForControl();
    EXPECT_FALSE(frame->IsListening());
    EXPECT_TRUE(ProcessEventsUntil([&] { return mapped() == 0; })) << "the mapping went with the server";
    for (int cycle = 0; cycle <= CMainFrame::kMappingRedoCycles; ++cycle)
        frame->WatchAddress();
    ProcessEventsFor(300);
    EXPECT_EQ(mapped(), 0) << "not made again while the server is off";

    frame->OnTrayCommand(HelperTrayMenu::kStartStopServer);
    frame->WaitForControl();
    EXPECT_TRUE(frame->IsListening());
    EXPECT_TRUE(ProcessEventsUntil([&] { return mapped() == 1; })) << "made again with the server";
}

TEST_F(ServerProgramTest, ServerOffInTheSettingsMeansNoListeningUntilAReloadSwitchesItOn) {
    auto frame = StartFrame(false);
    ASSERT_TRUE(frame);
    EXPECT_FALSE(frame->IsListening());
    settings.startServer = true;
    frame->OnMessage({peermessage::kHelperReloadSettings, 0, 0, {}});
    frame->WaitForControl();
    EXPECT_TRUE(frame->IsListening());
}

// Listening follows the computer's address on the port it had; a stopped server stays stopped, and
// starts on the new address.
TEST_F(ServerProgramTest, AfterAnAddressChangeListeningMovesToTheNewAddress) {
    const struct {
        std::optional<uint32_t> before;
        bool serverOn;
    } cases[] = {{kServerAddress, true}, {std::nullopt, true}, {kServerAddress, false}};
    for (const auto& item : cases) {
        address = item.before;
        auto frame = StartFrame(item.serverOn);
        ASSERT_TRUE(frame);
        const uint16_t port = settings.serverPort;
        address = kNewAddress;
        frame->WatchAddress();
        frame->WaitForControl();
        EXPECT_EQ(frame->IsListening(), item.serverOn);
        if (!item.serverOn) {
            frame->OnTrayCommand(HelperTrayMenu::kStartStopServer);
            frame->WaitForControl();
        }
        EXPECT_TRUE(Accepts(kNewAddress, port)) << item.serverOn;
        EXPECT_TRUE(Accepts(kNewAddress, port + 1)) << "the probe port";
        EXPECT_FALSE(Accepts(kServerAddress, port));
    }
}

TEST_F(ServerProgramTest, AReloadedRouterAddressServesTheNextSearch) {
    MainProgramRecorder main(Peers());
    settings.gatewayDescription = "http://127.0.0.1:9/first.xml";
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnMessage({peermessage::kHelperTestRouter, 0, 0, {}});
    ASSERT_TRUE(main.WaitFor(1));
    settings.gatewayDescription = "http://127.0.0.1:9/second.xml";
    frame->OnMessage({peermessage::kHelperReloadSettings, 0, 0, {}});
    frame->OnMessage({peermessage::kHelperTestRouter, 0, 0, {}});
    ASSERT_TRUE(main.WaitFor(2));
    EXPECT_EQ(GatewayUrls(),
              (std::vector<std::string>{"http://127.0.0.1:9/first.xml", "http://127.0.0.1:9/second.xml"}));
}

// A session starts on its connection's thread; reloading there must not restart listening, which
// would wait for that very connection.
TEST_F(ServerProgramTest, TheFirstSessionOfADayRereadsTheSettingsValuesOnly) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    const uint16_t port = settings.serverPort;
    const int loadsAtStart = loads;
    settings.manageIPods = true;
    settings.serverPort = static_cast<uint16_t>(port + 2);
    const auto startSession = [&] {
        std::thread([&] { frame->Server().OnRequest(linkcodes::kStartSession, {}); }).join();
        ProcessEventsFor(50);
    };
    startSession();
    EXPECT_EQ(loads, loadsAtStart) << "the same day";
    today = today.addDays(1);
    startSession();
    startSession();
    EXPECT_EQ(loads, loadsAtStart + 1);
    EXPECT_TRUE(frame->Settings().manageIPods);
    frame->WaitForControl();
    EXPECT_TRUE(Accepts(kServerAddress, port)) << "listening goes on where it was";
}

TEST_F(ServerProgramTest, ExitWhileListeningAsksAndNoKeepsTheProgram) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    exitAnswer = false;
    EXPECT_EQ(LoopExitAfter([&] { frame->OnTrayCommand(HelperTrayMenu::kExit); }), 1);
    exitAnswer = true;
    EXPECT_EQ(LoopExitAfter([&] { frame->OnTrayCommand(HelperTrayMenu::kExit); }), 0);
}

TEST_F(ServerProgramTest, TheQuitMessageEndsTheProgram) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(LoopExitAfter([&] { frame->OnMessage({peermessage::kHelperQuit, 0, 0, {}}); }), 0);
}

// The main program reads the host list as soon as its send returns; an empty table writes none.
TEST_F(ServerProgramTest, TheHostListIsWrittenBeforeTheAnswer) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnMessage({peermessage::kHostListReady, 0, 77, {}});
    EXPECT_FALSE(std::filesystem::exists(SyncSets() + "/77.hosts"));
    frame->Server().AddFoundHost({"Study", "127.0.0.5", 0});
    frame->OnMessage({peermessage::kHostListReady, 0, 78, {}});
    const std::vector<FoundHost> hosts = HostListFile::Read(AString((SyncSets() + "/78.hosts").c_str()));
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].name, "Study");
}

TEST_F(ServerProgramTest, AJoinedHostReachesTheRunningMainProgramAsAOneRecordList) {
    MainProgramRecorder main(Peers());
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->Server().AddFoundHost({"Kitchen", "127.0.0.6", 0});
    frame->Server().AddFoundHost({"Attic", "127.0.0.7", 0});
    ASSERT_TRUE(main.WaitFor(2));
    EXPECT_EQ(main.received[1].number, peermessage::kHostListReady);
    EXPECT_EQ(main.received[1].wParam, 0);
    const AString path((SyncSets() + "/" + std::to_string(main.received[1].lParam) + ".hosts").c_str());
    const std::vector<FoundHost> hosts = HostListFile::Read(path);
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].name, "Attic");
}

TEST_F(ServerProgramTest, ARouterTestWithoutAGatewayFailsToTheMainProgram) {
    MainProgramRecorder main(Peers());
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnMessage({peermessage::kHelperTestRouter, 0, 0, {}});
    ASSERT_TRUE(main.WaitFor(1));
    EXPECT_EQ(main.received[0].number, peermessage::kRouterTestFailed);
    EXPECT_EQ(main.received[0].wParam, -1);
    EXPECT_EQ(main.received[0].lParam, -1);
}

TEST_F(ServerProgramTest, TheRouterStatusIsWrittenBeforeTheAnswer) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnMessage({peermessage::kHelperWriteRouterStatus, 0, 0, {}});
    std::ifstream file(SyncSets() + "/Router.stat");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Status=0"), std::string::npos) << text;
}

// Without the main program, its commands start it: the about box by "__d".
TEST_F(ServerProgramTest, TheTrayStartsTheMainProgramWhenItIsNotRunning) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnTrayCommand(HelperTrayMenu::kShowMain);
    frame->OnTrayCommand(HelperTrayMenu::kAbout);
    ASSERT_EQ(shell.started.size(), 2u);
    EXPECT_EQ(shell.started[0], QStringLiteral("/stand-in/Orvantis "));
    EXPECT_EQ(shell.started[1], QStringLiteral("/stand-in/Orvantis __d"));
}

TEST_F(ServerProgramTest, TheTrayShowsTheRunningMainProgramWithoutStartingAnother) {
    MainProgramRecorder main(Peers());
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    frame->OnTrayCommand(HelperTrayMenu::kAbout);
    ASSERT_TRUE(main.WaitFor(2));
    EXPECT_EQ(main.received[0].number, peermessage::kShowWindow);
    EXPECT_EQ(main.received[0].wParam, peermessage::kRestore);
    EXPECT_EQ(main.received[1].number, peermessage::kCommand);
    EXPECT_EQ(main.received[1].wParam, 11000);
    EXPECT_TRUE(shell.started.empty());
}

// "__Q" clears what the programs handed each other: regular files only, never through a link.
TEST_F(ServerProgramTest, QuittingClearsTheRegularFilesOfSyncSets) {
    const std::string folder = SyncSets();
    std::ofstream(folder + "/1.hosts") << "x";
    std::ofstream(folder + "/Router.stat") << "x";
    std::filesystem::create_directories(folder + "/kept");
    std::ofstream(dir.File("outside.txt")) << "mine";
    std::filesystem::create_symlink(dir.File("outside.txt"), folder + "/link");
    EXPECT_EQ(CHalvendorHelper2App::ClearSyncSetsFiles(), 2);
    EXPECT_FALSE(std::filesystem::exists(folder + "/1.hosts"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/kept"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("outside.txt")));
}

TEST_F(ServerProgramTest, OnlyAWholeQuitArgumentQuits) {
    PeerEndpoint running(PeerProgram::Server, Peers());
    int quits = 0;
    running.SetHandler([&](const PeerMessage& message) {
        quits += message.number == peermessage::kHelperQuit;
        return int64_t{0};
    });
    ASSERT_EQ(running.Listen(), PeerEndpoint::ListenResult::Listening);
    // Not a quit: a second start, which ends at once since the program runs.
    EXPECT_EQ(CHalvendorHelper2App({QStringLiteral("OrvantisHelper"), QStringLiteral("x__Q")}, Peers()).Run(), 0);
    EXPECT_EQ(quits, 0);
}

} // namespace

namespace {

// A fake iPod appears as an extra volume: a folder named in ORVANTIS_EXTRA_VOLUMES once it exists.
class VolumeArrivalTest : public ServerProgramTest {
protected:
    VolumeArrivalTest() : podRoot(dir.File("SHUFFLE")) { setenv("ORVANTIS_EXTRA_VOLUMES", podRoot.c_str(), 1); }
    ~VolumeArrivalTest() override { unsetenv("ORVANTIS_EXTRA_VOLUMES"); }

    void PodArrives() { MakePod(podRoot); }
    static void MakePod(const std::string& root) {
        std::filesystem::create_directories(root + "/iPod_Control/iTunes");
        std::ofstream(root + "/iPod_Control/iTunes/iTunesPrefs", std::ios::binary) << std::string(64, '\xFF');
    }
    std::string Prefs() const {
        std::ifstream file(podRoot + "/iPod_Control/iTunes/iTunesPrefs", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }
    uint32_t PodBit() const {
        nativevolumes::Volume volume;
        return nativevolumes::VolumeTable::Instance().Find(podRoot, volume) ? volume.driveBit : 0;
    }
    void WatchAndSettle(CMainFrame& frame) {
        frame.WatchVolumes();
        frame.WaitForControl();
        QCoreApplication::processEvents();
    }
    // Turns the event loop until the main program was started, without a look of the test's own.
    bool WaitForAStart() {
        QElapsedTimer timer;
        timer.start();
        while (shell.started.empty() && timer.elapsed() < kWaitMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return !shell.started.empty();
    }

    std::string podRoot;
};

TEST(VolumeArrivalsTest, OnlyRemovableVolumesThatAppearAfterTheFirstLookArriveWithTheirOwnBits) {
    VolumeArrivals arrivals;
    const nativevolumes::Volume root{"/", 0, false, 0};
    const nativevolumes::Volume stick{"/media/ann/STICK", 0, true, 1u << 9};
    EXPECT_TRUE(arrivals.Look({root}).empty()) << "the first look only learns";
    const std::vector<ArrivedVolume> arrived =
        arrivals.Look({{"/", 0, true, 1u << 3}, {"/mnt/disk", 0, false, 0}, stick});
    ASSERT_EQ(arrived.size(), 1u) << "neither a volume that is not removable nor one without a label";
    EXPECT_EQ(arrived[0].root, stick.mountPoint);
    EXPECT_EQ(arrived[0].driveBit, stick.driveBit);
    EXPECT_TRUE(arrivals.Look({root, stick}).empty()) << "already there";
}

// Without a SysInfo file the iPod counts as a Shuffle.
TEST_F(VolumeArrivalTest, AnIPodArrivingWithoutTheMainProgramStartsItWithItsMask) {
    settings.manageShuffles = true;
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    PodArrives();
    WatchAndSettle(*frame);
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0], QStringLiteral("/stand-in/Orvantis -ar %1").arg(PodBit()));
    const std::string prefs = Prefs();
    EXPECT_EQ(prefs[10], '\0') << "the iPod's own update is off: the program manages it";
    EXPECT_EQ(prefs[31], '\1');
}

// The folders of ORVANTIS_EXTRA_VOLUMES appear without a mount: the timer's look finds them.
TEST_F(VolumeArrivalTest, TheTimerFindsAnExtraVolumeFolder) {
    settings.manageShuffles = true;
    volumeWatchMs = 50;
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    PodArrives();
    ASSERT_TRUE(WaitForAStart());
    EXPECT_EQ(shell.started[0], QStringLiteral("/stand-in/Orvantis -ar %1").arg(PodBit()));
}

// A mount wakes the look at once, long before the timer's. The test process takes a mount namespace
// of its own (its later tests run in it too) and mounts a tmpfs over /media there, where the iPod is
// then bound as a removable volume.
TEST_F(VolumeArrivalTest, AMountIsSeenWithoutWaitingForTheTimer) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mount namespace of our own: " << std::strerror(errno);
    if (mount("orvantis-media", "/media", "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "no tmpfs over /media: " << std::strerror(errno);
    podRoot = "/media/SHUFFLE";
    std::filesystem::create_directories(podRoot);
    const std::string stage = dir.File("stage");
    MakePod(stage);
    settings.manageShuffles = true;
    volumeWatchMs = 3600 * 1000;
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    ASSERT_EQ(mount(stage.c_str(), podRoot.c_str(), nullptr, MS_BIND, nullptr), 0) << std::strerror(errno);
    const bool started = WaitForAStart();
    const uint32_t podBit = PodBit();
    const std::string prefs = Prefs();
    frame.reset();
    umount2(podRoot.c_str(), MNT_DETACH);
    umount2("/media", MNT_DETACH);
    ASSERT_TRUE(started);
    EXPECT_EQ(shell.started[0], QStringLiteral("/stand-in/Orvantis -ar %1").arg(podBit));
    EXPECT_EQ(prefs[31], '\1');
}

TEST_F(VolumeArrivalTest, WithTheMainProgramRunningNothingStarts) {
    settings.manageShuffles = true;
    MainProgramRecorder main(Peers());
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    PodArrives();
    WatchAndSettle(*frame);
    EXPECT_TRUE(shell.started.empty());
    EXPECT_EQ(Prefs(), std::string(64, '\xFF'));
}

TEST_F(VolumeArrivalTest, WithoutManagingIPodsTheIPodIsOnlyMarked) {
    auto frame = StartFrame();
    ASSERT_TRUE(frame);
    PodArrives();
    WatchAndSettle(*frame);
    EXPECT_TRUE(shell.started.empty());
    EXPECT_EQ(Prefs()[10], '\xFF');
    EXPECT_EQ(Prefs()[31], '\1');
}

} // namespace
