#include "server/requests/RequestDispatcher.h"

#include "foundation/AProgress.h"

namespace {

// Reports the request from the moment its payload began to arrive until it was answered.
class ReportedStream : public RequestStream {
public:
    ReportedStream(std::unique_ptr<RequestStream> stream, const RequestDispatcher& dispatcher)
        : m_stream(std::move(stream)), m_dispatcher(dispatcher) {
        m_dispatcher.ReportStart();
    }
    ~ReportedStream() override { m_dispatcher.ReportFinish(); }

    void Begin(size_t total) override { m_stream->Begin(total); }
    int Append(std::span<const uint8_t> bytes) override { return m_stream->Append(bytes); }
    WireMessage Finish() override { return m_stream->Finish(); }

private:
    std::unique_ptr<RequestStream> m_stream;
    const RequestDispatcher& m_dispatcher;
};

} // namespace

void RequestDispatcher::Register(int code, std::unique_ptr<RequestHandler> handler) {
    m_handlers[code] = std::move(handler);
}

void RequestDispatcher::ReportStart() const {
    if (!m_progress)
        return;
    const AString starting("Initializing Remote Sync...");
    m_progress->Start(&starting, true, true);
}

void RequestDispatcher::ReportFinish() const {
    if (!m_progress)
        return;
    const AString finished("Remote Music List.");
    m_progress->Finish(&finished, true, true);
}

WireMessage RequestDispatcher::Dispatch(int code, std::span<const uint8_t> payload) const {
    ReportStart();
    const auto handler = m_handlers.find(code);
    WireMessage answer =
        handler == m_handlers.end() ? WireMessage::EchoOf(code, payload) : handler->second->Serve(payload);
    ReportFinish();
    return answer;
}

std::unique_ptr<RequestStream> RequestDispatcher::OpenStream(int code) const {
    const auto handler = m_handlers.find(code);
    if (handler == m_handlers.end())
        return nullptr;
    std::unique_ptr<RequestStream> stream = handler->second->OpenStream();
    if (!stream)
        return nullptr;
    return std::make_unique<ReportedStream>(std::move(stream), *this);
}
