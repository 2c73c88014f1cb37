#include "foundation/RemotePeer.h"

#include "foundation/AMemFile.h"

int RemotePeer::RequestOnce(const AString& host, int code, const AMemFile& payload,
                            std::vector<uint8_t>& answer, AProgress* progress, int progressFlags,
                            int timeoutSeconds) {
    if (const int result = ConnectW(host))
        return result;
    const int result = Request(code, payload.GetBuffer(), payload.GetSize(), answer, false, progress,
                               progressFlags, timeoutSeconds);
    Disconnect();
    return result;
}
