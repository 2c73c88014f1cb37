#pragma once
// The connection to the server program of another computer, as the file functions use it. The remote
// link implements it; nothing in this layer creates or frees one.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

#include <cstdint>
#include <vector>

class AMemFile;
class AProgress;
class PayloadSink;

class RemotePeer {
public:
    enum ProgressFlags { kProgressSending = 1, kProgressReceiving = 2, kProgressBoth = 3 };

    virtual ~RemotePeer() = default;

    // Connects to the server program on `host` and takes the connection lock: 0, or a negative
    // socket code, and then nothing is held.
    virtual int ConnectW(const AString& host) = 0;
    // One request on the connected link: 0 with `answer` set when the peer answered with code 0, else
    // a negative code. No wait lasts longer than `timeoutSeconds` (-1: the link's own limit) while
    // the peer sends or takes nothing; a long transfer that keeps moving is never cut. `cancel` is
    // asked while the request waits: non-zero ends it at once with 123456 and drops the connection.
    virtual int Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                        bool compress, AProgress* progress, int progressFlags, int timeoutSeconds,
                        const CancelCallback& cancel) = 0;
    // The same, with the answer's payload handed to `sink` as it arrives rather than held whole; a
    // failure answer's payload is not handed on. This one takes the answer whole, then hands it on.
    virtual int RequestInto(int code, const uint8_t* payload, uint32_t length, PayloadSink& sink,
                            AProgress* progress, int progressFlags, int timeoutSeconds,
                            const CancelCallback& cancel);
    // Ends the connection and releases the lock; called once after every successful ConnectW.
    virtual void Disconnect() = 0;

    // Connects to `host`, sends one uncompressed request and disconnects again.
    int RequestOnce(const AString& host, int code, const AMemFile& payload, std::vector<uint8_t>& answer,
                    AProgress* progress, int progressFlags, int timeoutSeconds,
                    const CancelCallback& cancel = CancelCallback());
    int RequestOnceInto(const AString& host, int code, const AMemFile& payload, PayloadSink& sink,
                        AProgress* progress, int progressFlags, int timeoutSeconds,
                        const CancelCallback& cancel = CancelCallback());

private:
    // Runs `request` on a connection to `host`, ended again whatever it gives.
    template <typename Request>
    int OnConnection(const AString& host, Request request) {
        if (const int result = ConnectW(host))
            return result;
        const int result = request();
        Disconnect();
        return result;
    }
};
