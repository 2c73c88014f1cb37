#pragma once
// The connection to the server program of another computer, as the file functions use it. The remote
// link implements it; nothing in this layer creates or frees one.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

class AMemFile;
class AProgress;

class RemotePeer {
public:
    enum ProgressFlags { kProgressSending = 1, kProgressReceiving = 2, kProgressBoth = 3 };

    virtual ~RemotePeer() = default;

    // Connects to the server program on `host` and takes the connection lock: 0, or a negative
    // socket code, and then nothing is held.
    virtual int ConnectW(const AString& host) = 0;
    // One request on the connected link, waiting for the answer at most `timeoutSeconds` (-1: no
    // limit): 0 with `answer` set when the peer answered with code 0, else a negative code.
    virtual int Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                        bool compress, AProgress* progress, int progressFlags, int timeoutSeconds) = 0;
    // Ends the connection and releases the lock; called once after every successful ConnectW.
    virtual void Disconnect() = 0;

    // Connects to `host`, sends one uncompressed request and disconnects again.
    int RequestOnce(const AString& host, int code, const AMemFile& payload, std::vector<uint8_t>& answer,
                    AProgress* progress, int progressFlags, int timeoutSeconds);
};
