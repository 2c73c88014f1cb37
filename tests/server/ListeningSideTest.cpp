#include "../remote/MemoryChannel.h"
#include "../remote/TestBytes.h"
#include "LoopbackServer.h"
#include "RequestPayload.h"
#include "foundation/ByteOrder.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/SocketChannel.h"
#include "remote/WireHeader.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using nativesockets::Deadline;

namespace {

const std::string kEndOfConnection = "         0         0         0     000";

struct Answer {
    int result = 0;
    int code = 0;
    std::vector<uint8_t> payload;
};

// Reads the answers that a raw connection received.
std::vector<Answer> ParseAnswers(const std::string& bytes) {
    std::vector<Answer> answers;
    MemoryChannel channel(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    MessageReader reader(channel);
    while (reader.WaitForMessage(Deadline::Never()) == nativesockets::IoStatus::Done) {
        Answer answer;
        WireHeader header;
        answer.result = reader.ReadHeader(header, Deadline::Never());
        if (answer.result == 0)
            answer.result = reader.ReadPayload(header, answer.payload, -1, nullptr);
        answer.code = header.code;
        answers.push_back(answer);
        if (answer.result != 0)
            break;
    }
    return answers;
}

std::vector<uint8_t> HelloPayload() {
    std::vector<uint8_t> record(FoundHost::kRecordSize);
    FoundHost{"client.local", "127.0.0.1", 0}.Write(
        std::span<uint8_t, FoundHost::kRecordSize>(record.data(), record.size()));
    return record;
}

std::string Exchange(uint16_t port, const std::string& bytes, bool& closed, int waitMs = 5000) {
    RawConnection connection(port);
    EXPECT_TRUE(connection.IsOpen());
    EXPECT_TRUE(connection.Send(bytes));
    return connection.ReadUntilClosed(waitMs, closed);
}

} // namespace

TEST(ListeningSideTest, AnEndOfConnectionAloneGetsNoAnswerAndTheSocketCloses) {
    LoopbackServer server;
    bool closed = false;
    EXPECT_EQ(Exchange(server.Port(), kEndOfConnection, closed), "");
    EXPECT_TRUE(closed);
}

TEST(ListeningSideTest, RequestsOnOneConnectionAreAnsweredInOrder) {
    LoopbackServer server;
    bool closed = false;
    const std::string received = Exchange(
        server.Port(),
        MessageBytes(4242, Bytes("first")) + MessageBytes(77, Bytes("second")) + kEndOfConnection, closed);
    EXPECT_TRUE(closed);
    const std::vector<Answer> answers = ParseAnswers(received);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].code, -4242);
    EXPECT_EQ(answers[0].payload, Bytes("first"));
    EXPECT_EQ(answers[1].code, -77);
    EXPECT_EQ(answers[1].payload, Bytes("second"));
}

TEST(ListeningSideTest, AHelloIsAnsweredAlikeOnBothPorts) {
    LoopbackServer server;
    const std::string name = nativesockets::GetHostName() + ".local";
    for (const uint16_t port : {server.Port(), static_cast<uint16_t>(server.Port() + 1)}) {
        bool closed = false;
        const std::vector<Answer> answers = ParseAnswers(
            Exchange(port, MessageBytes(linkcodes::kHello, HelloPayload()) + kEndOfConnection, closed));
        ASSERT_EQ(answers.size(), 1u) << port;
        EXPECT_EQ(answers[0].code, -1);
        ASSERT_EQ(answers[0].payload.size(), 4 + name.size() + 1);
        EXPECT_EQ(LoadLE32(answers[0].payload.data()), 100u);
        EXPECT_EQ(std::string(answers[0].payload.begin() + 4, answers[0].payload.end() - 1), name);
        EXPECT_EQ(answers[0].payload.back(), 0);
    }
}

TEST(ListeningSideTest, WhenTheBasePortIsTakenTheProbePortStillListens) {
    LoopbackServer server;
    server.Server().StopListening();
    // Another program takes the base port.
    const nativesockets::SocketHandle other =
        nativesockets::ListenTcp(LoopbackServer::kServerAddress, server.Port());
    ASSERT_TRUE(other.IsOpen());
    EXPECT_TRUE(server.Server().StartListening());
    EXPECT_TRUE(server.Server().BindFailed());
    bool closed = false;
    const std::vector<Answer> answers = ParseAnswers(Exchange(
        server.Port() + 1, MessageBytes(linkcodes::kHello, HelloPayload()) + kEndOfConnection, closed));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].code, -1);
}

TEST(ListeningSideTest, HostileMessagesCloseTheConnectionWithoutAnAnswer) {
    LoopbackServer server;
    const std::string good = MessageBytes(4242, Bytes("abc"));
    const struct {
        std::string bytes;
        const char* why;
    } cases[] = {
        {"      4242         3         4 3855200aGkh", "a checksum that differs"},
        {"      4242         3         8     000aGkhaGkh", "a Base64 length that does not match"},
        {"      4242 999999999      2048     000", "an unsplit payload over 1536 bytes"},
        {"      4242-999999999      2048     000" + std::string(2048, 'A') +
             "      4243-999999999      2048     000",
         "a piece of another message"},
        {"      4242         3         4     000a!kh", "a character outside the alphabet"},
        {"      42x2         3         4     000aGkh", "a malformed header"},
        {"      4242         3         4     001aGkh", "a packed payload that does not unpack"},
    };
    for (const auto& hostile : cases) {
        bool closed = false;
        EXPECT_EQ(Exchange(server.Port(), hostile.bytes, closed), "") << hostile.why;
        EXPECT_TRUE(closed) << hostile.why;
    }
    bool closed = false;
    EXPECT_EQ(ParseAnswers(Exchange(server.Port(), good + kEndOfConnection, closed)).size(), 1u)
        << "the server serves on";
}

TEST(ListeningSideTest, IdleConnectionsAndSlowHeadersAreClosed) {
    ServerTimeouts timeouts;
    timeouts.idleMs = 300;
    timeouts.headerMs = 300;
    timeouts.payloadStallMs = 300;
    LoopbackServer server(timeouts);
    const struct {
        std::string bytes;
        const char* why;
    } cases[] = {
        {"", "nothing sent"},
        {"      4242", "a header that stops"},
        {"      4242         3         4     000aG", "a payload that stops"},
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& slow : cases) {
            const auto start = std::chrono::steady_clock::now();
            bool closed = false;
            RawConnection connection(server.Port());
            ASSERT_TRUE(connection.IsOpen());
            if (!slow.bytes.empty())
                connection.Send(slow.bytes);
            EXPECT_EQ(connection.ReadUntilClosed(5000, closed), "") << slow.why;
            EXPECT_TRUE(closed) << slow.why;
            EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << slow.why;
        }
        // The time limits hold after listening starts again.
        server.Restart();
    }
}

TEST(ListeningSideTest, AFullConnectionTableRefusesTheNextConnection) {
    LoopbackServer server({}, 2);
    RawConnection first(server.Port());
    RawConnection second(server.Port());
    ASSERT_TRUE(first.Send(MessageBytes(1, HelloPayload())));
    ASSERT_TRUE(second.Send(MessageBytes(1, HelloPayload())));
    // Both are served: each has its answer before the third comes.
    EXPECT_TRUE(first.ReadSome());
    EXPECT_TRUE(second.ReadSome());
    bool closed = false;
    EXPECT_EQ(Exchange(server.Port(), MessageBytes(4242, Bytes("x")), closed), "");
    EXPECT_TRUE(closed);
    EXPECT_EQ(server.Server().Slots().RunningCount(), 2);
    // A slot freed is taken again.
    first.Send(kEndOfConnection);
    first.ReadUntilClosed(5000, closed);
    for (int i = 0; i < 500 && server.Server().Slots().RunningCount() > 1; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ParseAnswers(Exchange(server.Port(), MessageBytes(4242, Bytes("x")) + kEndOfConnection, closed))
                  .size(),
              1u);
}

TEST(ListeningSideTest, StoppingEndsEveryConnectionAndJoinsEveryThread) {
    LoopbackServer server;
    std::vector<std::unique_ptr<RawConnection>> connections;
    for (const std::string& bytes : {std::string(), std::string("      4242"), kEndOfConnection.substr(0, 37),
                                     MessageBytes(4242, std::vector<uint8_t>(5000, 1)).substr(0, 3000)}) {
        connections.push_back(std::make_unique<RawConnection>(server.Port()));
        connections.back()->Send(bytes);
    }
    for (int i = 0; i < 500 && server.Server().Slots().RunningCount() < 4; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server.Server().Slots().RunningCount(), 4);
    const auto start = std::chrono::steady_clock::now();
    server.Server().StopListening();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(server.Server().Slots().RunningCount(), 0);
    EXPECT_FALSE(server.Server().IsListening());
    for (auto& connection : connections) {
        bool closed = false;
        connection->ReadUntilClosed(5000, closed);
        EXPECT_TRUE(closed);
    }
    EXPECT_FALSE(RawConnection(server.Port()).IsOpen()) << "nothing listens any more";
}

TEST(ListeningSideTest, AClientThatLeavesDuringALongAnswerDoesNotKillTheServer) {
    LoopbackServer server;
    // The client takes the first bytes of a 4 MB echo and goes: the rest of the answer meets a closed
    // connection, which must not raise SIGPIPE.
    for (int i = 0; i < 3; ++i) {
        RawConnection connection(server.Port());
        ASSERT_TRUE(connection.Send(MessageBytes(4242, std::vector<uint8_t>(4 << 20, 'e'))));
        EXPECT_TRUE(connection.ReadSome());
    }
    bool closed = false;
    EXPECT_EQ(
        ParseAnswers(Exchange(server.Port(), MessageBytes(4242, Bytes("alive")) + kEndOfConnection, closed))
            .size(),
        1u);
}

// A sent file is written as its pieces arrive, but it replaces its target only when the whole message
// has come and its checksum holds; otherwise the target stays and no temporary file is left.
TEST(ListeningSideTest, ASentFileReplacesItsTargetOnlyWhenItsChecksumHolds) {
    ServerTimeouts timeouts;
    timeouts.payloadStallMs = 300;
    LoopbackServer server(timeouts);
    const std::string target = server.Music("song.mp3");
    WriteBytes(target, Bytes("old song"));
    const std::vector<uint8_t> song = RandomBytes(20 * 1536 + 5, 3);
    const std::string message = MessageBytes(linkcodes::kCopyWithProgressRemote,
                                             SendFilePayload(target, song, 0, static_cast<uint32_t>(song.size())));
    std::string damaged = message;
    // One character of the first piece's Base64 changed for another of the alphabet.
    char& changed = damaged[WireHeader::kLength + 10];
    changed = changed == 'A' ? 'B' : 'A';
    const std::string cutShort = message.substr(0, message.size() / 2);
    for (const std::string& hostile : {damaged, cutShort}) {
        bool closed = false;
        RawConnection connection(server.Port());
        ASSERT_TRUE(connection.Send(hostile));
        EXPECT_EQ(connection.ReadUntilClosed(5000, closed), "");
        EXPECT_TRUE(closed);
        EXPECT_EQ(ReadBytes(target), Bytes("old song"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(server.MusicFolder()), {}), 1)
            << "no temporary file left";
    }
    bool closed = false;
    const std::vector<Answer> answers = ParseAnswers(Exchange(server.Port(), message + kEndOfConnection, closed));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].code, 0);
    EXPECT_EQ(ReadBytes(target), song);
}
