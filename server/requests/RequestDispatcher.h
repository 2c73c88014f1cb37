#pragma once
// Hands every received request to the handler of its code; a code without a handler is answered with
// its negated code and the request's own payload.

#include "server/requests/RequestHandler.h"

#include <map>
#include <memory>

class AProgress;

class RequestDispatcher {
public:
    // `progress` (may be null) is started and finished around every request.
    explicit RequestDispatcher(AProgress* progress) : m_progress(progress) {}

    // Handlers are registered before listening starts; a second one for a code replaces the first.
    void Register(int code, std::unique_ptr<RequestHandler> handler);
    WireMessage Dispatch(int code, std::span<const uint8_t> payload) const;
    // The stream of a code whose handler takes its payload as it arrives, else null. Its answer is
    // reported like a dispatched one.
    std::unique_ptr<RequestStream> OpenStream(int code) const;

    // The progress report around every request.
    void ReportStart() const;
    void ReportFinish() const;

private:
    AProgress* m_progress;
    std::map<int, std::unique_ptr<RequestHandler>> m_handlers;
};
