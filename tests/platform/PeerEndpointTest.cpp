#include "platform/ipc/PeerEndpoint.h"

#include "QtTestLoop.h"
#include "platform/ipc/PeerLink.h"
#include "support/TempDir.h"

#include <QLocalSocket>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace nativeipc;

namespace {

class PeerEndpointTest : public testing::Test {
protected:
    PeerEndpointTest() { EnsureQtApplication(); }

    PeerAddress Address() const { return PeerAddress(QString::fromStdString(m_dir.Path())); }

    TempDir m_dir;
};

TEST_F(PeerEndpointTest, EachProgramOfEachUserHasItsOwnEndpoint) {
    const QString uid = QString::number(geteuid());
    const QString folder = QString::fromStdString(m_dir.Path());
    EXPECT_EQ(Address().EndpointPath(PeerProgram::Main), folder + "/Orvantis-" + uid + ".ipc");
    EXPECT_EQ(Address().EndpointPath(PeerProgram::Server), folder + "/OrvantisHelper-" + uid + ".ipc");

    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", m_dir.Path().c_str(), 1), 0);
    EXPECT_EQ(PeerAddress::ForCurrentUser().EndpointPath(PeerProgram::Main),
              Address().EndpointPath(PeerProgram::Main));
    unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(PeerEndpointTest, ASecondStartFindsTheFirst) {
    auto first = std::make_unique<PeerEndpoint>(PeerProgram::Main, Address());
    ASSERT_EQ(first->Listen(), PeerEndpoint::ListenResult::Listening);
    EXPECT_TRUE(PeerLink(Address()).IsRunning(PeerProgram::Main));

    PeerEndpoint second(PeerProgram::Main, Address());
    EXPECT_EQ(second.Listen(), PeerEndpoint::ListenResult::AlreadyRunning);
    EXPECT_FALSE(second.IsListening());
    PeerEndpoint server(PeerProgram::Server, Address());
    EXPECT_EQ(server.Listen(), PeerEndpoint::ListenResult::Listening);

    first.reset();
    EXPECT_FALSE(PeerLink(Address()).IsRunning(PeerProgram::Main));
    EXPECT_EQ(second.Listen(), PeerEndpoint::ListenResult::Listening);
}

TEST_F(PeerEndpointTest, TakesOverTheEndpointOfAProgramThatDied) {
    const std::string path = Address().EndpointPath(PeerProgram::Main).toStdString();
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);

    EXPECT_FALSE(PeerLink(Address()).IsRunning(PeerProgram::Main));
    PeerEndpoint endpoint(PeerProgram::Main, Address());
    EXPECT_EQ(endpoint.Listen(), PeerEndpoint::ListenResult::Listening);
}

TEST_F(PeerEndpointTest, OnlyTheUserCanReachIt) {
    PeerEndpoint endpoint(PeerProgram::Server, Address());
    ASSERT_EQ(endpoint.Listen(), PeerEndpoint::ListenResult::Listening);
    struct stat info {};
    ASSERT_EQ(stat(Address().EndpointPath(PeerProgram::Server).toStdString().c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST_F(PeerEndpointTest, ForeignBytesAreDroppedAndTheNextMessageServed) {
    PeerEndpoint endpoint(PeerProgram::Main, Address());
    ASSERT_EQ(endpoint.Listen(), PeerEndpoint::ListenResult::Listening);
    int handled = 0;
    endpoint.SetHandler([&handled](const PeerMessage& message) {
        ++handled;
        return static_cast<int64_t>(message.number);
    });

    QLocalSocket stranger;
    stranger.connectToServer(Address().EndpointPath(PeerProgram::Main));
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write(QByteArray(64, '\x7F'));
    ASSERT_TRUE(stranger.waitForBytesWritten(1000));
    ASSERT_TRUE(ServeUntil([&] {
        stranger.waitForReadyRead(0);
        return stranger.state() == QLocalSocket::UnconnectedState;
    }));

    const PeerLink link(Address());
    const SendResult result = ServeWhile([&] {
        return link.Send(PeerProgram::Main, {peermessage::kShowWindow, 5, 0, {}});
    });
    EXPECT_EQ(result.delivery, Delivery::Delivered);
    EXPECT_EQ(result.answer, static_cast<int64_t>(peermessage::kShowWindow));
    EXPECT_EQ(handled, 1);
}

TEST_F(PeerEndpointTest, WithoutAHandlerEverySendIsAnsweredWithZero) {
    PeerEndpoint endpoint(PeerProgram::Server, Address());
    ASSERT_EQ(endpoint.Listen(), PeerEndpoint::ListenResult::Listening);
    const PeerLink link(Address());
    const SendResult result = ServeWhile([&] {
        return link.Send(PeerProgram::Server, {peermessage::kHelperQuit, 0, 0, {}});
    });
    EXPECT_EQ(result.delivery, Delivery::Delivered);
    EXPECT_EQ(result.answer, 0);
}

} // namespace
