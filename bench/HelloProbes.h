#pragma once
// The scan's probe as the benchmarks send it: a hello to a server's probe port, its answer read back;
// and a number of clients released together.

#include "platform/sockets/TcpSockets.h"
#include "remote/HelloMessage.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/SocketChannel.h"

#include <atomic>
#include <barrier>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace HelloProbes {

constexpr int kWaitMs = 10000;

inline const std::vector<uint8_t>& Hello() {
    static const std::vector<uint8_t> hello =
        HelloMessage::Request("benchhost", HelloMessage::kProbeNameLimit, HelloMessage::kLocalDomain, "127.0.0.1");
    return hello;
}

inline bool ProbeOnce(uint32_t address, uint16_t probePort) {
    using nativesockets::Deadline;
    const nativesockets::SocketHandle socket =
        nativesockets::ConnectTcp(address, probePort, Deadline::AfterMs(kWaitMs), nullptr);
    if (!socket.IsOpen())
        return false;
    SocketChannel channel(socket, nullptr);
    MessageReader reader(channel);
    WireHeader header;
    std::vector<uint8_t> answer;
    const bool answered =
        MessageWriter::SendMessage(channel, linkcodes::kHello, Hello(), MessageWriter::kEmptyRequestWord, false,
                                   nullptr, kWaitMs) == 0 &&
        reader.ReadHeader(header, Deadline::AfterMs(kWaitMs)) == 0 &&
        reader.ReadPayload(header, answer, kWaitMs, nullptr) == 0 && HelloMessage::AnswerName(answer).has_value();
    MessageWriter::SendFramed(channel, linkcodes::kEndOfConnection, {}, false, nullptr, kWaitMs);
    return answered;
}

// Runs `once` on `clients` threads released together: the seconds until the last one ends; `ok`
// turns false when any of them failed.
inline double AllAtOnce(int clients, const std::function<bool()>& once, bool& ok) {
    std::barrier start(clients + 1);
    std::atomic<int> succeeded{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&] {
            start.arrive_and_wait();
            succeeded += once() ? 1 : 0;
        });
    const auto begun = std::chrono::steady_clock::now();
    start.arrive_and_wait();
    for (std::thread& thread : threads)
        thread.join();
    ok = ok && succeeded == clients;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
}

} // namespace HelloProbes
