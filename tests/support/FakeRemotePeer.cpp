#include "support/FakeRemotePeer.h"

int FakeRemotePeer::ConnectW(const AString& host) {
    if (connectResult != 0)
        return connectResult;
    ++connects;
    m_host = host;
    return 0;
}

int FakeRemotePeer::Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                            bool, AProgress* progress, int progressFlags, int timeoutSeconds,
                            const CancelCallback&) {
    Call call{m_host, code, std::vector<uint8_t>(payload, payload + length), progressFlags, timeoutSeconds, progress};
    calls.push_back(call);
    answer.clear();
    return handler ? handler(call, answer) : -10565;
}

void FakeRemotePeer::Disconnect() {
    ++disconnects;
}
