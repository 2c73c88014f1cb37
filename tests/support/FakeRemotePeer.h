#pragma once
// A remote link that records its requests and answers them from a handler of the test.

#include "foundation/RemotePeer.h"

#include <functional>
#include <vector>

class FakeRemotePeer : public RemotePeer {
public:
    struct Call {
        AString host;
        int code = 0;
        std::vector<uint8_t> payload;
        int progressFlags = 0;
        int timeoutSeconds = 0;
        AProgress* progress = nullptr;
    };
    // Returns the result code and fills the answer.
    using Handler = std::function<int(const Call& call, std::vector<uint8_t>& answer)>;

    int ConnectW(const AString& host) override;
    int Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                bool compress, AProgress* progress, int progressFlags, int timeoutSeconds,
                const CancelCallback& cancel) override;
    void Disconnect() override;

    int connectResult = 0;
    Handler handler;
    std::vector<Call> calls;
    int connects = 0;
    int disconnects = 0;

private:
    AString m_host;
};
