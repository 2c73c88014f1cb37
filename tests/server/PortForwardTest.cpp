#include "PortForwardRig.h"

#include "platform/ini/PrivateProfile.h"
#include "server/router/MappingLookup.h"
#include "server/router/RouterStatusFile.h"
#include "support/TempDir.h"

#include <future>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

constexpr char kOther[] = "192.168.1.99";

IgdMapping Ours(uint16_t externalPort, const std::string& protocol = "TCP", bool enabled = true) {
    return IgdMapping{externalPort, protocol, PortForwardRig::kPort, PortForwardRig::kLocalAddress, enabled, "mine"};
}

IgdMapping Others(uint16_t externalPort, const std::string& protocol = "TCP") {
    return IgdMapping{externalPort, protocol, 80, kOther, true, "theirs"};
}

bool HasMapping(const IgdEmulator& igd, uint16_t externalPort, const std::string& client) {
    const auto mappings = igd.Mappings();
    return std::any_of(mappings.begin(), mappings.end(), [&](const IgdMapping& m) {
        return m.externalPort == externalPort && m.protocol == "TCP" && m.internalClient == client &&
               m.internalPort == PortForwardRig::kPort;
    });
}

} // namespace

TEST(PortForwardTest, APassAddsTheMappingAndTheStatusFileShowsIt) {
    PortForwardRig rig;
    rig.TestRouter();
    EXPECT_EQ(rig.report.done, 1);
    EXPECT_EQ(rig.report.Failed(), 0);
    EXPECT_EQ(rig.igd.Calls("AddPortMapping"), 1);
    EXPECT_TRUE(HasMapping(rig.igd, PortForwardRig::kPort, PortForwardRig::kLocalAddress));
    const auto added = rig.igd.Mappings().front();
    EXPECT_EQ(added.description, "Orvantis");
    EXPECT_TRUE(added.enabled);

    TempDir dir;
    ASSERT_TRUE(RouterStatusFile::Write(dir.File("Router.stat"), rig.chain.State()));
    const nativeini::PrivateProfile status(dir.File("Router.stat"));
    EXPECT_EQ(status.ReadString("Stat", "Status", ""), "1");
    EXPECT_EQ(status.ReadString("Stat", "ExtPort", ""), "10564");
    EXPECT_EQ(status.ReadString("Stat", "ExtIP", ""), "203.0.113.7");
}

TEST(PortForwardTest, TheRoutersMappingsDecideWhatIsFoundOrAdded) {
    const struct {
        const char* what;
        std::vector<IgdMapping> mappings;
        uint16_t externalPort; // the mapping found in the end
        int additions;
    } cases[] = {
        {"ours under another external port is taken as it is", {Others(10564), Ours(12000)}, 12000, 0},
        {"the ports of other computers are passed over", {Others(10564), Others(10565)}, 10566, 1},
        {"of two of ours the later one wins", {Ours(12000), Ours(13000)}, 13000, 0},
        {"a UDP mapping takes its port too", {Others(10564, "UDP")}, 10565, 1},
        {"ours for UDP only is not ours", {Ours(12000, "UDP")}, 10564, 1},
        {"ours disabled is not ours", {Ours(12000, "TCP", false)}, 10564, 1},
    };
    for (const auto& c : cases) {
        PortForwardRig rig;
        for (const IgdMapping& mapping : c.mappings)
            rig.igd.AddMapping(mapping);
        rig.TestRouter();
        EXPECT_EQ(rig.report.done, 1) << c.what;
        EXPECT_EQ(rig.chain.State().externalPort, c.externalPort) << c.what;
        EXPECT_EQ(rig.igd.Calls("AddPortMapping"), c.additions) << c.what;
    }
}

TEST(PortForwardTest, APassGivesUpAfterNineAdditionsThatDoNotHold) {
    for (const bool refuse : {false, true}) {
        PortForwardRig rig;
        rig.igd.SetForgetAdditions(!refuse);
        rig.igd.SetRefuseAdditions(refuse);
        rig.TestRouter();
        EXPECT_EQ(rig.igd.Calls("AddPortMapping"), PortForwardChain::kMaxAdditions) << refuse;
        EXPECT_EQ(rig.report.Failed(), 1) << refuse;
        EXPECT_EQ(rig.report.done, 0);
        EXPECT_FALSE(rig.chain.State().mapped);
    }
}

TEST(PortForwardTest, ATestWithoutAGatewayOrAnEngineEndsAsFailed) {
    IgdEmulator elsewhere;
    PortForwardRig rig(elsewhere.MissingDescriptionUrl());
    rig.TestRouter();
    EXPECT_EQ(rig.report.failures, (std::vector<std::pair<int64_t, int64_t>>{{-1, -1}}));

    RecordingReport report;
    PortForwardChain noEngine(nullptr, report);
    noEngine.TestRouter(PortForwardRig::kLocalAddress, PortForwardRig::kPort);
    EXPECT_EQ(report.failures, (std::vector<std::pair<int64_t, int64_t>>{{-1, -1}}));
}

TEST(PortForwardTest, NoFreePortBelow65536EndsThePassAsFailed) {
    PortForwardRig rig;
    rig.igd.AddMapping(Others(65535));
    rig.TestRouter(65535);
    EXPECT_EQ(rig.igd.Calls("AddPortMapping"), 0);
    EXPECT_EQ(rig.report.Failed(), 1);
}

TEST(PortForwardTest, TheMappingThisProgramAddedGoesWhenForwardingOrTheServerGoesOffOrThePortChanges) {
    const struct {
        const char* what;
        bool forwarding;
        bool server;
        uint16_t port;
        bool kept;
    } cases[] = {
        {"nothing changed", true, true, PortForwardRig::kPort, true},
        {"port forwarding off", false, true, PortForwardRig::kPort, false},
        {"the server off", true, false, PortForwardRig::kPort, false},
        {"another port", true, true, 10600, false},
    };
    for (const auto& c : cases) {
        PortForwardRig rig;
        rig.TestRouter();
        ASSERT_TRUE(HasMapping(rig.igd, PortForwardRig::kPort, PortForwardRig::kLocalAddress));
        rig.chain.ApplySettings(c.forwarding, c.server, c.port);
        rig.RunUntilQuiet();
        EXPECT_EQ(HasMapping(rig.igd, PortForwardRig::kPort, PortForwardRig::kLocalAddress), c.kept) << c.what;
    }
}

// The server goes off in the middle of a pass: before its addition ends (the mapping goes as soon as it
// is made) or before the router's mappings came (none is made).
TEST(PortForwardTest, AServerSwitchedOffDuringAPassLeavesNoMapping) {
    for (const int switchedOffAt : {portforward::kAddEnded, portforward::kRetrieveEnded}) {
        PortForwardRig rig;
        rig.chain.TestRouter(PortForwardRig::kLocalAddress, PortForwardRig::kPort);
        std::pair<int, int64_t> event;
        while (rig.events.Next(event, 10000)) {
            if (event.first == switchedOffAt)
                rig.chain.ApplySettings(true, false, PortForwardRig::kPort);
            rig.chain.HandleEvent(event.first, event.second);
            if (event.first == switchedOffAt)
                break;
        }
        rig.RunUntilQuiet();
        EXPECT_FALSE(HasMapping(rig.igd, PortForwardRig::kPort, PortForwardRig::kLocalAddress)) << switchedOffAt;
        EXPECT_EQ(rig.igd.Calls("AddPortMapping"), switchedOffAt == portforward::kAddEnded ? 1 : 0) << switchedOffAt;
    }
}

TEST(PortForwardTest, AMappingThatWasFoundIsNotDeleted) {
    PortForwardRig rig;
    rig.igd.AddMapping(Ours(12000));
    rig.TestRouter();
    rig.chain.ApplySettings(false, true, PortForwardRig::kPort);
    rig.RunUntilQuiet();
    EXPECT_EQ(rig.igd.Calls("DeletePortMapping"), 0);
}

TEST(PortForwardTest, HostileAnswersBreakNothing) {
    {
        PortForwardRig endless;
        endless.igd.AddMapping(Ours(12000));
        endless.igd.SetEndlessList(true);
        endless.TestRouter();
        EXPECT_EQ(endless.engine.GetMappings().size(), CPortForwardEngine::kMaxMappings);
        EXPECT_EQ(endless.report.done, 1);
    }
    {
        PortForwardRig longTexts;
        longTexts.igd.AddMapping(Ours(12000));
        longTexts.igd.SetLongTexts(true);
        longTexts.TestRouter();
        EXPECT_EQ(longTexts.report.Failed(), 1) << "no entry names this computer";
        for (const PortMapping& mapping : longTexts.engine.GetMappings()) {
            EXPECT_TRUE(mapping.externalIPAddress.empty());
            EXPECT_LT(mapping.description.size(), 80u);
            EXPECT_LT(mapping.internalClient.size(), 16u);
        }
    }
    {
        PortForwardRig notAnAddress;
        notAnAddress.igd.SetExternalAddress("203.0.113.7; rm -rf");
        notAnAddress.TestRouter();
        EXPECT_EQ(notAnAddress.report.done, 1);
        EXPECT_TRUE(notAnAddress.chain.State().mapped);
        EXPECT_EQ(notAnAddress.chain.State().externalAddress, "");
    }
}

TEST(PortForwardTest, AnOperationOfAKindThatRunsIsRefusedAndTheEndWaitsForIt) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    QueuedEvents events;
    {
        CPortForwardEngine engine(
            [released]() -> std::unique_ptr<nativeupnp::InternetGateway> {
                released.wait();
                return nullptr;
            },
            events);
        EXPECT_TRUE(engine.StartDeviceSearch());
        EXPECT_FALSE(engine.StartDeviceSearch());
        EXPECT_TRUE(engine.IsBusy());
        release.set_value();
    }
    std::pair<int, int64_t> event;
    int64_t ended = 0;
    while (events.Next(event, 0))
        if (event.first == portforward::kSearchEnded)
            ended = event.second;
    EXPECT_EQ(ended, portforward::kFailed) << "no gateway is a failed search";
}

TEST(PortForwardTest, PortsAreStrictDecimalNumbers) {
    const struct {
        const char* text;
        std::optional<uint16_t> port;
    } cases[] = {{"10564", 10564}, {"0", 0},       {"65535", 65535}, {"65536", std::nullopt}, {"", std::nullopt},
                 {"+80", std::nullopt}, {" 80", std::nullopt}, {"80x", std::nullopt}, {"000080", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(PortMapping::ParsePort(c.text), c.port) << c.text;
}
