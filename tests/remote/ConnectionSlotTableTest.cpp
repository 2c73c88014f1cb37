#include "remote/ConnectionSlotTable.h"

#include "platform/sockets/TcpSockets.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using nativesockets::Deadline;
using nativesockets::SocketHandle;

namespace {

struct SocketPair {
    SocketPair() {
        int fds[2];
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        near = SocketHandle(fds[0]);
        far = SocketHandle(fds[1]);
    }
    SocketHandle near;
    SocketHandle far;
};

// Waits on its socket until the socket ends.
void WaitForEnd(const SocketHandle& socket) {
    nativesockets::WaitReadable(socket, Deadline::Never(), nullptr);
}

bool ReadsEnd(const SocketHandle& socket) {
    uint8_t byte = 0;
    const auto got =
        nativesockets::ReceiveSome(socket, std::span(&byte, 1), Deadline::AfterMs(5000), nullptr);
    return got.status == nativesockets::IoStatus::Closed;
}

} // namespace

TEST(ConnectionSlotTableTest, AFullTableRefusesAndClosesTheConnection) {
    ConnectionSlotTable table(2);
    SocketPair first, second, third;
    EXPECT_EQ(table.Start(std::move(first.near), WaitForEnd), 0);
    EXPECT_EQ(table.Start(std::move(second.near), WaitForEnd), 1);
    EXPECT_EQ(table.Start(std::move(third.near), WaitForEnd), -1);
    EXPECT_TRUE(ReadsEnd(third.far)) << "the refused connection is closed at once";
    EXPECT_EQ(table.RunningCount(), 2);
    // Closing every slot ends the waits on their sockets and joins the threads.
    EXPECT_EQ(table.CloseAll(), 2);
    EXPECT_EQ(table.RunningCount(), 0);
    EXPECT_TRUE(ReadsEnd(first.far));
    EXPECT_EQ(table.CloseAll(), 0);
}

TEST(ConnectionSlotTableTest, ASlotWhoseThreadEndedIsTakenAgain) {
    ConnectionSlotTable table(1);
    std::atomic<int> runs = 0;
    for (int i = 0; i < 3; ++i) {
        SocketPair pair;
        EXPECT_EQ(table.Start(std::move(pair.near), [&](const SocketHandle&) { ++runs; }), 0);
        EXPECT_TRUE(ReadsEnd(pair.far)) << "the slot closes its socket when the work ends";
        while (table.RunningCount() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(runs, 3);
}
