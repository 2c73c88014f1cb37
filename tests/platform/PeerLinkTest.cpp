#include "platform/ipc/PeerLink.h"

#include "QtTestLoop.h"
#include "platform/ipc/PeerEndpoint.h"
#include "support/TempDir.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <gtest/gtest.h>

using namespace nativeipc;
using namespace std::chrono_literals;

namespace {

class PeerLinkTest : public testing::Test {
protected:
    PeerLinkTest() { EnsureQtApplication(); }

    PeerAddress Address() const { return PeerAddress(QString::fromStdString(m_dir.Path())); }

    // The server program's endpoint, keeping what it was given.
    std::unique_ptr<PeerEndpoint> Serve(int64_t answer) {
        auto endpoint = std::make_unique<PeerEndpoint>(PeerProgram::Server, Address());
        endpoint->SetHandler([this, answer](const PeerMessage& message) {
            m_received.push_back(message);
            return answer;
        });
        EXPECT_EQ(endpoint->Listen(), PeerEndpoint::ListenResult::Listening);
        return endpoint;
    }

    TempDir m_dir;
    std::vector<PeerMessage> m_received;
};

TEST_F(PeerLinkTest, ASendWaitsForTheReceiversAnswer) {
    const auto endpoint = Serve(-7);
    const PeerLink link(Address());
    const SendResult result = ServeWhile([&] {
        return link.Send(PeerProgram::Server, {peermessage::kHostListReady, 0, 123456, {}});
    });
    EXPECT_EQ(result.delivery, Delivery::Delivered);
    EXPECT_EQ(result.answer, -7);
    ASSERT_EQ(m_received.size(), 1u);
    EXPECT_EQ(m_received[0].number, peermessage::kHostListReady);
    EXPECT_EQ(m_received[0].lParam, 123456);
}

TEST_F(PeerLinkTest, APostArrivesWithItsPayload) {
    const auto endpoint = Serve(0);
    const PeerLink link(Address());
    const QByteArray path = "/home/u/My Configs/Home.TXFIG";
    EXPECT_EQ(link.Post(PeerProgram::Server, {peermessage::kStartupConfig, 0, 0, path}), Delivery::Delivered);
    ASSERT_TRUE(ServeUntil([&] { return !m_received.empty(); }));
    EXPECT_EQ(m_received[0].number, peermessage::kStartupConfig);
    EXPECT_EQ(m_received[0].payload, path);
}

TEST_F(PeerLinkTest, AnAbsentProgramDropsTheMessage) {
    const auto mainProgram = std::make_unique<PeerEndpoint>(PeerProgram::Main, Address());
    ASSERT_EQ(mainProgram->Listen(), PeerEndpoint::ListenResult::Listening);
    const PeerLink link(Address());
    EXPECT_FALSE(link.IsRunning(PeerProgram::Server));
    EXPECT_EQ(link.Post(PeerProgram::Server, {peermessage::kHelperTestRouter, 0, 0, {}}), Delivery::NoPeer);
    EXPECT_EQ(link.Send(PeerProgram::Server, {peermessage::kHelperWriteRouterStatus, 0, 0, {}}).delivery,
              Delivery::NoPeer);
    EXPECT_EQ(PeerLink(PeerAddress(QString())).Post(PeerProgram::Main, {}), Delivery::NoPeer);
}

TEST_F(PeerLinkTest, ASlowReceiverTimesOutAndServesTheNextSend) {
    auto endpoint = Serve(1);
    endpoint->SetHandler([](const PeerMessage&) {
        std::this_thread::sleep_for(600ms);
        return int64_t{1};
    });
    const PeerLink link(Address());
    const auto started = std::chrono::steady_clock::now();
    const SendResult late = ServeWhile([&] {
        return link.Send(PeerProgram::Server, {0x423, 0, 0, {}}, 200ms);
    });
    EXPECT_EQ(late.delivery, Delivery::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);

    endpoint->SetHandler([](const PeerMessage&) { return int64_t{2}; });
    const SendResult next = ServeWhile([&] { return link.Send(PeerProgram::Server, {0x423, 0, 0, {}}); });
    EXPECT_EQ(next.delivery, Delivery::Delivered);
    EXPECT_EQ(next.answer, 2);
}

TEST_F(PeerLinkTest, AReceiverThatHangsUpFailsTheSend) {
    QLocalServer rude;
    ASSERT_TRUE(rude.listen(Address().EndpointPath(PeerProgram::Server)));
    QObject::connect(&rude, &QLocalServer::newConnection, [&rude] {
        while (QLocalSocket* socket = rude.nextPendingConnection())
            socket->abort();
    });
    const PeerLink link(Address());
    EXPECT_EQ(ServeWhile([&] {
                  return link.Send(PeerProgram::Server, {0x423, 0, 0, {}});
              }).delivery,
              Delivery::Failed);
}

TEST_F(PeerLinkTest, APayloadTooLargeIsNeverSent) {
    const auto endpoint = Serve(0);
    const PeerLink link(Address());
    const PeerMessage huge{peermessage::kStartupConfig, 0, 0, QByteArray(64 * 1024 + 1, 'x')};
    EXPECT_EQ(link.Post(PeerProgram::Server, huge), Delivery::Failed);
    ServeUntil([] { return false; }, 50ms);
    EXPECT_TRUE(m_received.empty());
}

} // namespace
