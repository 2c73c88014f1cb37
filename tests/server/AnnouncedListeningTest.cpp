#include "server/bonjour/AnnouncedListening.h"

#include "LoopbackServer.h"
#include "server/bonjour/BonjourAnnouncement.h"
#include "support/StubDnsSdScript.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

TEST(AnnouncedListeningTest, TheServerIsAnnouncedOnItsPortWhileItListens) {
    const StubDnsSdScript stub;
    LoopbackServer loopback;
    const uint16_t port = loopback.Port();
    loopback.Server().StopListening();
    BonjourAnnouncement announcement(StubDnsSdScript::LibraryFile());
    AnnouncedListening listening(loopback.Server(), announcement);

    ASSERT_TRUE(listening.Start(port));
    EXPECT_TRUE(listening.IsListening());
    EXPECT_FALSE(listening.Start(port)) << "it listens already";
    std::string type;
    EXPECT_EQ(stub.LastRegisteredPort(type), htons(port));
    EXPECT_EQ(type, "_orvantis._tcp.");
    EXPECT_EQ(stub.ActiveRegistrations(), 1);

    listening.Toggle(port);
    EXPECT_FALSE(listening.IsListening());
    EXPECT_EQ(stub.ActiveRegistrations(), 0);
    listening.Toggle(port);
    EXPECT_TRUE(listening.IsListening());
    EXPECT_EQ(stub.ActiveRegistrations(), 1);
    EXPECT_EQ(stub.RegistrationsMade(), 2);
    listening.Stop();
    EXPECT_EQ(stub.ActiveRegistrations(), 0);
}

TEST(AnnouncedListeningTest, WithoutTheLibraryTheServerListensUnannounced) {
    LoopbackServer loopback;
    const uint16_t port = loopback.Port();
    loopback.Server().StopListening();
    BonjourAnnouncement announcement("libno-such-dnssd.so.9");
    AnnouncedListening listening(loopback.Server(), announcement);
    ASSERT_TRUE(listening.Start(port));
    EXPECT_FALSE(announcement.IsAnnounced());
    EXPECT_TRUE(listening.IsListening());
}
