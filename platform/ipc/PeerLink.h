#pragma once
// Reaching the other program's endpoint from any thread. A send waits for the receiver's answer, up
// to a time limit; a post only hands the message over. A program that is not running cannot be
// reached: the message is dropped and the result says so. Every call makes its own connection, so
// one link serves any number of threads.

#include "platform/ipc/PeerAddress.h"
#include "platform/ipc/PeerMessage.h"

#include <chrono>

namespace nativeipc {

enum class Delivery {
    Delivered,
    NoPeer,   // the program is not running: dropped
    TimedOut, // the receiver did not take or answer it in time
    Failed,   // the connection broke, or the message is too large to send
};

struct SendResult {
    Delivery delivery = Delivery::NoPeer;
    int64_t answer = 0; // the receiver's result, when delivered
};

class PeerLink {
public:
    static constexpr std::chrono::milliseconds kSendLimit{5000};
    // A post is handed over at once when the receiver is there; this only bounds a stuck receiver.
    static constexpr std::chrono::milliseconds kPostLimit{1000};

    explicit PeerLink(PeerAddress address) : m_address(std::move(address)) {}

    bool IsRunning(PeerProgram program) const;
    SendResult Send(PeerProgram program, const PeerMessage& message,
                    std::chrono::milliseconds limit = kSendLimit) const;
    Delivery Post(PeerProgram program, const PeerMessage& message) const;

private:
    PeerAddress m_address;
};

} // namespace nativeipc
