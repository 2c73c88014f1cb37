#pragma once
// What the server keeps for one client between "Start Session" and "End Session": a song list of the
// served library set up with the client's settings, and what the client said of itself.

#include "foundation/AString.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class ADirTunes;
class AProgress;

struct RemoteSession {
    // The longest IPv4 text a client may give ("255.255.255.255" and a little more).
    static constexpr int kMaxAddressLength = 19;

    std::unique_ptr<ADirTunes> list;
    bool packAnswers = false;
    AString clientHost;
    std::string clientAddress;
    // How the client names this server: the host of the remote paths it is sent.
    AString serverAddress;
    uint32_t secondHandle = 0;

    ~RemoteSession();

    // A session read from a "Start Session" request: 0, -1 for a malformed request, or the code of the
    // client's settings record. The client's settings never name the list's root, its folder of
    // removed files or the deletion of files for good: those stay the server's.
    static int Read(std::span<const uint8_t> payload, AProgress* progress,
                    std::unique_ptr<RemoteSession>& session);
};
