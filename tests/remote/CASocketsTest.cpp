#include "remote/CASockets.h"

#include "ScriptedPeer.h"
#include "TestBytes.h"
#include "foundation/ByteOrder.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/LinkCodes.h"
#include "remote/MessageWriter.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <string>

using namespace std::chrono_literals;

namespace {

constexpr uint32_t kClientAddress = 0x7F000001;
const std::string kServer = "127.0.0.2";

void Answer(ByteChannel& channel, int code, const std::vector<uint8_t>& payload) {
    EXPECT_EQ(MessageWriter::SendMessage(channel, code, payload, MessageWriter::kEmptyAnswerWord, false,
                                         nullptr, 5000),
              0);
}

// A port on 127.0.0.2 that nobody listens on: bound once, then closed.
uint16_t ClosedPort() {
    const nativesockets::SocketHandle listener = nativesockets::ListenTcp(ScriptedPeer::kAddress, 0);
    return nativesockets::BoundPort(listener);
}

} // namespace

TEST(CASocketsTest, ARequestGetsItsAnswerAndDisconnectEndsTheConnection) {
    std::vector<uint8_t> request;
    int endCode = -1;
    {
        ScriptedPeer peer([&](ByteChannel& channel, MessageReader& reader) {
            const WireHeader header = ScriptedPeer::ReadMessage(reader, request);
            EXPECT_EQ(header.code, 3001);
            Answer(channel, 0, Bytes("answer"));
            std::vector<uint8_t> none;
            endCode = ScriptedPeer::ReadMessage(reader, none).code;
        });
        CASockets link(kClientAddress);
        ASSERT_EQ(link.Connect(kServer, peer.Port()), 0);
        std::vector<uint8_t> answer;
        EXPECT_EQ(link.Request(3001, request.data(), 0, answer, false, nullptr, 3, 30, {}), 0);
        EXPECT_EQ(answer, Bytes("answer"));
        link.Disconnect();
    }
    EXPECT_EQ(request, (std::vector<uint8_t>{0xD4, 0x88, 0x01, 0x00})) << "no payload goes as 100564";
    EXPECT_EQ(endCode, 0) << "the end-of-connection message";
}

TEST(CASocketsTest, AFailureAnswerGivesItsCodeAndNoAnswer) {
    ScriptedPeer peer([](ByteChannel& channel, MessageReader& reader) {
        std::vector<uint8_t> payload;
        ScriptedPeer::ReadMessage(reader, payload);
        Answer(channel, -8, Bytes("ignored"));
    });
    CASockets link(kClientAddress);
    ASSERT_EQ(link.Connect(kServer, peer.Port()), 0);
    std::vector<uint8_t> answer = Bytes("stale");
    const uint8_t payload[] = {1, 2, 3};
    EXPECT_EQ(link.Request(2001, payload, sizeof payload, answer, false, nullptr, 3, 30, {}), -8);
    EXPECT_TRUE(answer.empty());
    link.Disconnect();
}

TEST(CASocketsTest, AFailedConnectReleasesTheLink) {
    CASockets link(kClientAddress);
    EXPECT_EQ(link.Connect("no-such-host.invalid", 5000), linkcodes::kErrorConnectFailed);
    EXPECT_EQ(link.Connect(kServer, ClosedPort()), linkcodes::kErrorConnectFailed);
    // Another thread can take the link at once: nothing was left held.
    auto other = std::async(std::launch::async, [&] { return link.Connect(kServer, ClosedPort()); });
    ASSERT_EQ(other.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(other.get(), linkcodes::kErrorConnectFailed);
}

TEST(CASocketsTest, APortOf0IsTheFoundHostsPortElseTheBasePort) {
    for (const bool found : {true, false}) {
        ScriptedPeer peer([](ByteChannel&, MessageReader&) {});
        CASockets link(kClientAddress);
        if (found)
            ASSERT_GE(link.AddFoundHost(FoundHost{"server", kServer, peer.Port()}), 0);
        else
            link.SetBasePort(peer.Port());
        EXPECT_EQ(link.Connect(kServer, 0), 0) << found;
        link.Disconnect();
    }
}

TEST(CASocketsTest, APeerThatNeverAnswersFailsWhenTheTimeOutPasses) {
    std::promise<void> done;
    ScriptedPeer peer([&](ByteChannel&, MessageReader& reader) {
        std::vector<uint8_t> payload;
        ScriptedPeer::ReadMessage(reader, payload);
        done.get_future().wait();
    });
    CASockets link(kClientAddress);
    ASSERT_EQ(link.Connect(kServer, peer.Port()), 0);
    std::vector<uint8_t> answer;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.Request(3001, nullptr, 0, answer, false, nullptr, 3, 1, {}), kErrorRemoteSilent)
        << "the silence is named";
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 1s);
    EXPECT_LT(waited, 3s);
    link.Disconnect();
    done.set_value();
}

TEST(CASocketsTest, StoppingEndsAWaitWithoutTimeOutAndRefusesNewConnections) {
    std::promise<void> received;
    std::promise<void> done;
    ScriptedPeer peer([&](ByteChannel&, MessageReader& reader) {
        std::vector<uint8_t> payload;
        ScriptedPeer::ReadMessage(reader, payload);
        received.set_value();
        done.get_future().wait();
    });
    CASockets link(kClientAddress);
    auto waiting = std::async(std::launch::async, [&] {
        EXPECT_EQ(link.Connect(kServer, peer.Port()), 0);
        std::vector<uint8_t> answer;
        const int result = link.Exchange(3001, {}, answer, false, nullptr, 0, -1);
        link.Disconnect();
        return result;
    });
    received.get_future().wait();
    link.StopScan();
    ASSERT_EQ(waiting.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(waiting.get(), linkcodes::kErrorAnswerHeaderShort);
    EXPECT_EQ(link.Connect(kServer, peer.Port()), kErrorEndOfStream);
    done.set_value();
}

TEST(CASocketsTest, TheBaseRequestOperationEchoesTheNegatedCode) {
    CASockets link(kClientAddress);
    const WireMessage answer = link.OnRequest(4242, Bytes("payload"));
    EXPECT_EQ(answer.code, -4242);
    EXPECT_EQ(answer.payload, Bytes("payload"));
}
