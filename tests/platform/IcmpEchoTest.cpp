#include "platform/sockets/IcmpEcho.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using nativesockets::IcmpEcho;

namespace {

constexpr uint32_t kPeer = 0xC0A80114; // 192.168.1.20
constexpr uint16_t kIdentifier = 0x1234;
constexpr uint16_t kSequence = 0x0042;

// An echo reply as a peer sends it back: our request with type 0 and its checksum made again.
std::vector<uint8_t> ReplyTo(uint16_t identifier, uint16_t sequence) {
    const auto request = IcmpEcho::BuildRequest(identifier, sequence, 0x01020304);
    std::vector<uint8_t> reply(request.begin(), request.end());
    reply[0] = 0;
    reply[2] = reply[3] = 0;
    const uint16_t checksum = IcmpEcho::Checksum(reply);
    reply[2] = static_cast<uint8_t>(checksum >> 8);
    reply[3] = static_cast<uint8_t>(checksum);
    return reply;
}

// The reply behind the IP header a raw socket hands over.
std::vector<uint8_t> WithIpHeader(const std::vector<uint8_t>& message, uint32_t source, uint8_t protocol = IPPROTO_ICMP,
                                  uint8_t versionAndLength = 0x45) {
    std::vector<uint8_t> datagram(20);
    datagram[0] = versionAndLength;
    datagram[9] = protocol;
    for (int i = 0; i < 4; ++i)
        datagram[12 + i] = static_cast<uint8_t>(source >> (24 - 8 * i));
    datagram.insert(datagram.end(), message.begin(), message.end());
    return datagram;
}

} // namespace

TEST(IcmpEchoTest, TheChecksumIsTheInternetChecksum) {
    const uint8_t example[] = {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(IcmpEcho::Checksum(example), 0x220D);
    const uint8_t odd[] = {0x01, 0x02, 0x03};
    EXPECT_EQ(IcmpEcho::Checksum(odd), static_cast<uint16_t>(~(0x0102 + 0x0300)));
}

TEST(IcmpEchoTest, TheRequestHasItsFieldsInPlaceAndItsChecksumHolds) {
    const auto request = IcmpEcho::BuildRequest(kIdentifier, kSequence, 0xA1B2C3D4);
    ASSERT_EQ(request.size(), 48u);
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(std::vector<uint8_t>(request.begin() + 4, request.begin() + 16),
              (std::vector<uint8_t>{0x12, 0x34, 0x00, 0x42, 0, 0, 0, 0, 0xA1, 0xB2, 0xC3, 0xD4}));
    for (size_t i = 16; i < 48; ++i)
        EXPECT_EQ(request[i], 0x20 + (i - 16)) << i;
    EXPECT_EQ(IcmpEcho::Checksum(request), 0) << "a whole message sums to all ones";
}

TEST(IcmpEchoTest, AChecksumOfZeroIsSentAsZero) {
    for (uint32_t identifier = 0; identifier <= 0xFFFF; ++identifier) {
        const auto request = IcmpEcho::BuildRequest(static_cast<uint16_t>(identifier), kSequence, 7);
        if (request[2] == 0 && request[3] == 0) {
            EXPECT_EQ(IcmpEcho::Checksum(request), 0);
            return;
        }
    }
    FAIL() << "no identifier gives the checksum 0";
}

TEST(IcmpEchoTest, OnlyTheEchoReplyOfThePeerToThisRequestCounts) {
    const std::vector<uint8_t> good = ReplyTo(kIdentifier, kSequence);
    auto changed = [&](size_t offset, uint8_t value) {
        std::vector<uint8_t> bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    const auto request = IcmpEcho::BuildRequest(kIdentifier, kSequence, 0x01020304);
    const std::vector<uint8_t> framed = WithIpHeader(good, kPeer);
    struct Case {
        const char* what;
        std::vector<uint8_t> datagram;
        bool raw;
        bool counts;
    } cases[] = {
        {"the reply", good, false, true},
        {"the reply behind its IP header", framed, true, true},
        {"the reply behind a longer IP header", [&] {
             auto datagram = WithIpHeader(good, kPeer, IPPROTO_ICMP, 0x46);
             datagram.insert(datagram.begin() + 20, 4, 0);
             return datagram;
         }(), true, true},
        {"our own request, heard on loopback", std::vector<uint8_t>(request.begin(), request.end()), false, false},
        {"another identifier", ReplyTo(kIdentifier + 1, kSequence), false, false},
        {"another sequence number", ReplyTo(kIdentifier, kSequence + 1), false, false},
        {"a damaged byte", changed(30, 0xEE), false, false},
        {"another code", changed(1, 1), false, false},
        {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + 7), false, false},
        {"nothing", {}, false, false},
        {"from another address", WithIpHeader(good, kPeer + 1), true, false},
        {"not ICMP", WithIpHeader(good, kPeer, IPPROTO_UDP), true, false},
        {"an IP header longer than the datagram", WithIpHeader(good, kPeer, IPPROTO_ICMP, 0x4F), true, false},
        {"an IP header too short", WithIpHeader(good, kPeer, IPPROTO_ICMP, 0x44), true, false},
        {"not IPv4", WithIpHeader(good, kPeer, IPPROTO_ICMP, 0x65), true, false},
        {"only an IP header", std::vector<uint8_t>(framed.begin(), framed.begin() + 20), true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IcmpEcho::IsReplyTo(c.datagram, c.raw, kPeer, kIdentifier, kSequence), c.counts) << c.what;
}

TEST(IcmpEchoTest, LoopbackAnswersAnEcho) {
    if (!nativesockets::IcmpEcho::IsAvailable())
        GTEST_SKIP() << "neither a raw nor a datagram ICMP socket may be opened here";
    EXPECT_TRUE(IcmpEcho::Ping(0x7F000001, 1000, nullptr));
    EXPECT_TRUE(IcmpEcho::Ping(0x7F000003, 1000, nullptr)) << "all of 127/8 is this computer";
}

// Run by tests/platform/icmp_namespace.sh as an unprivileged user in a namespace of its own.
TEST(IcmpNamespaceTest, WithoutARawSocketTheDatagramSocketServesElseNothingAnswers) {
    const char* which = std::getenv("ORVANTIS_ICMP_CASE");
    if (!which)
        GTEST_SKIP() << "needs the namespace of tests/platform/icmp_namespace.sh";
    const int raw = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (raw >= 0)
        close(raw);
    ASSERT_LT(raw, 0) << "the case needs a process without the right to a raw socket";
    const bool datagram = std::string(which) == "datagram";
    EXPECT_EQ(IcmpEcho::IsAvailable(), datagram);
    EXPECT_EQ(IcmpEcho::Ping(0x7F000001, 1000, nullptr), datagram);
}
