#include "foundation/RemotePeer.h"

#include "foundation/AMemFile.h"
#include "foundation/PayloadSink.h"

int RemotePeer::RequestInto(int code, const uint8_t* payload, uint32_t length, PayloadSink& sink,
                            AProgress* progress, int progressFlags, int timeoutSeconds,
                            const CancelCallback& cancel) {
    std::vector<uint8_t> answer;
    if (const int result =
            Request(code, payload, length, answer, false, progress, progressFlags, timeoutSeconds, cancel))
        return result;
    sink.Begin(answer.size());
    return sink.Append(answer);
}

int RemotePeer::RequestOnce(const AString& host, int code, const AMemFile& payload,
                            std::vector<uint8_t>& answer, AProgress* progress, int progressFlags,
                            int timeoutSeconds, const CancelCallback& cancel) {
    return OnConnection(host, [&] {
        return Request(code, payload.GetBuffer(), payload.GetSize(), answer, false, progress, progressFlags,
                       timeoutSeconds, cancel);
    });
}

int RemotePeer::RequestOnceInto(const AString& host, int code, const AMemFile& payload, PayloadSink& sink,
                                AProgress* progress, int progressFlags, int timeoutSeconds,
                                const CancelCallback& cancel) {
    return OnConnection(host, [&] {
        return RequestInto(code, payload.GetBuffer(), payload.GetSize(), sink, progress, progressFlags,
                           timeoutSeconds, cancel);
    });
}
