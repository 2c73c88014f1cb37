#pragma once
// The server program as the main program reaches it: whether it runs, and the messages the main
// program posts or sends it. A send waits at most PeerLink's 5 s; a program that is not running
// drops the message.

#include "platform/ipc/PeerAddress.h"

#include <QString>

#include <cstdint>

namespace nativeshell {
class Shell;
}

class HelperProgram {
public:
    explicit HelperProgram(nativeipc::PeerAddress address) : m_address(std::move(address)) {}

    static constexpr const char* kFileName = "OrvantisHelper";

    bool IsRunning() const;
    // At the main program's start: the server program beside it is started when it is not running.
    // Whether it listens is its own setting's to decide.
    void StartIfAbsent(nativeshell::Shell& shell, const QString& programFolder) const;
    // Read the shared settings again.
    bool PostReloadSettings() const;
    // Write the found hosts into the host list named by `t` before answering; false when not answered.
    bool SendHostListReady(int64_t t) const;
    // Write "Router.stat" before answering.
    bool SendWriteRouterStatus() const;
    bool PostTestRouter() const;

private:
    bool Post(uint32_t number) const;
    bool Send(uint32_t number, int64_t lParam) const;

    nativeipc::PeerAddress m_address;
};
