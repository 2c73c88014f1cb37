#include "remote/CASockets.h"

#include "foundation/ErrorCodes.h"
#include "foundation/PayloadSink.h"
#include "platform/sockets/HostAddresses.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/HelloMessage.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/NetworkScan.h"
#include "remote/RequestStream.h"
#include "remote/SocketChannel.h"

#include <algorithm>
#include <climits>

using nativesockets::Deadline;

namespace {

// Takes a payload that nobody keeps.
class DiscardingSink : public PayloadSink {
public:
    void Begin(size_t) override {}
    int Append(std::span<const uint8_t>) override { return 0; }
};

int TimeoutMs(int timeoutSeconds) {
    if (timeoutSeconds < 0)
        return -1;
    return static_cast<int>(std::min<long long>(timeoutSeconds * 1000LL, INT_MAX));
}

} // namespace

CASockets::CASockets() : CASockets(nativesockets::GetLocalIPv4()) {}

CASockets::CASockets(std::optional<uint32_t> localIPv4, size_t slotCapacity)
    : m_localIPv4(localIPv4), m_slots(slotCapacity), m_scan(std::make_unique<NetworkScan>(*this, m_wake)) {}

CASockets::~CASockets() {
    m_stop = true;
    m_wake.Raise();
    m_scan->Join();
    while (m_slots.CloseAll() > 0) {
    }
}

WireMessage CASockets::OnRequest(int code, std::span<const uint8_t> payload) {
    return WireMessage::EchoOf(code, payload);
}

std::unique_ptr<RequestStream> CASockets::OpenRequestStream(int) {
    return nullptr;
}

std::optional<uint32_t> CASockets::GetLocalIPv4() const {
    std::lock_guard lock(m_addressLock);
    return m_localIPv4;
}

void CASockets::SetLocalIPv4(std::optional<uint32_t> address) {
    std::lock_guard lock(m_addressLock);
    m_localIPv4 = address;
}

std::string CASockets::GetLocalIPv4Text() const {
    const std::optional<uint32_t> address = GetLocalIPv4();
    return address ? nativesockets::FormatIPv4(*address) : std::string();
}

int CASockets::AddFoundHost(const FoundHost& host) {
    const FoundHostTable::AddResult added = m_foundHosts.Add(host, GetLocalIPv4());
    if (added.appended)
        OnHostsChanged();
    return added.index;
}

void CASockets::StopScan() {
    m_stop = true;
    m_wake.Raise();
    m_scan->Join();
}

int CASockets::StartScan(std::vector<FoundHost> firstTries) {
    return m_scan->Start(std::move(firstTries));
}

bool CASockets::IsScanRunning() const {
    return m_scan->IsRunning();
}

int CASockets::GetScanPosition() const {
    return m_scan->Position();
}

void CASockets::SetScanPinger(std::function<bool(uint32_t, const nativesockets::WakeSignal&)> pinger) {
    m_scan->SetPinger(std::move(pinger));
}

int CASockets::QueryHost(FoundHost& record, const std::string& host, uint32_t port) {
    if (Connect(host, port) != 0)
        return 0;
    const std::vector<uint8_t> hello = HelloMessage::Request(nativesockets::GetHostName(), FoundHost::kMaxNameLength,
                                                             std::string(), GetLocalIPv4Text());
    // The answer's code is -1, which a failed exchange gives too: only an answer with a name counts.
    std::vector<uint8_t> answer;
    Exchange(linkcodes::kHello, hello, answer, false, nullptr, 0, NetworkScan::kHelloTimeoutMs / 1000);
    const auto address = nativesockets::ResolveIPv4(host);
    Disconnect();
    const auto name = HelloMessage::AnswerName(answer);
    if (!name || !address)
        return 0;
    record = FoundHost{*name, nativesockets::FormatIPv4(*address), static_cast<uint16_t>(port)};
    return 1;
}

void CASockets::ClearStop() {
    m_wake.Clear();
    m_stop = false;
}

uint16_t CASockets::PortFor(const std::string& address, uint32_t port) const {
    if ((port & 0xFFFF) != 0)
        return static_cast<uint16_t>(port);
    const uint16_t found = m_foundHosts.FindPort(address);
    return found != 0 ? found : m_basePort.load();
}

int CASockets::Connect(const std::string& host, uint32_t port) {
    if (m_stop)
        return kErrorEndOfStream;
    m_connection.lock();
    m_connectionOwner = std::this_thread::get_id();
    if (m_stop) {
        ReleaseConnection();
        return kErrorEndOfStream;
    }
    const auto address = nativesockets::ResolveIPv4(host);
    if (!address) {
        ReleaseConnection();
        return linkcodes::kErrorConnectFailed;
    }
    const uint16_t targetPort = PortFor(nativesockets::FormatIPv4(*address), port);
    m_requestSocket =
        nativesockets::ConnectTcp(*address, targetPort, Deadline::AfterMs(kConnectTimeoutMs), &m_wake);
    if (!m_requestSocket.IsOpen()) {
        ReleaseConnection();
        return linkcodes::kErrorConnectFailed;
    }
    m_requestChannel = std::make_unique<SocketChannel>(m_requestSocket, &m_wake);
    m_requestReader = std::make_unique<MessageReader>(*m_requestChannel);
    m_requestBroken = false;
    return 0;
}

int CASockets::ConnectW(const AString& host) {
    return Connect(host.ToUtf8(), 0);
}

bool CASockets::HoldsConnection() const {
    return m_connectionOwner.load() == std::this_thread::get_id();
}

void CASockets::ReleaseConnection() {
    m_requestReader.reset();
    m_requestChannel.reset();
    m_requestSocket.Close();
    m_connectionOwner = std::thread::id();
    m_connection.unlock();
}

void CASockets::Disconnect() {
    if (!HoldsConnection())
        return;
    if (m_requestChannel && !m_requestBroken) {
        // The peer's answer to this is the closing of the connection; what fails here changes nothing.
        MessageWriter::SendFramed(*m_requestChannel, linkcodes::kEndOfConnection, {}, false, nullptr,
                                  kEndMessageStallMs);
    }
    m_requestSocket.Shutdown();
    ReleaseConnection();
}

int CASockets::SilenceLimitMs(int timeoutSeconds) const {
    const int longest = m_longestSilenceMs.load();
    return timeoutSeconds < 0 ? longest : std::min(TimeoutMs(timeoutSeconds), longest);
}

int CASockets::Broken(int result) {
    m_requestBroken = true;
    if (m_requestChannel->WasCancelled())
        return kUserCancel;
    if (m_requestChannel->FellSilent())
        return kErrorRemoteSilent;
    return result;
}

int CASockets::Transact(int code, std::span<const uint8_t> payload, bool pack, AProgress* progress,
                        int progressFlags, int timeoutSeconds, const CancelCallback& cancel,
                        const AnswerReading& readAnswer) {
    if (!HoldsConnection() || !m_requestChannel || m_requestBroken)
        return kErrorEndOfStream;
    m_requestChannel->Watch(&cancel);
    const int silenceMs = SilenceLimitMs(timeoutSeconds);
    AProgress* sendProgress = (progressFlags & kProgressSending) ? progress : nullptr;
    AProgress* receiveProgress = (progressFlags & kProgressReceiving) ? progress : nullptr;
    int result = MessageWriter::SendMessage(*m_requestChannel, code, payload, MessageWriter::kEmptyRequestWord,
                                            pack, sendProgress, silenceMs);
    WireHeader header;
    if (result == 0)
        result = m_requestReader->ReadHeader(header, Deadline::AfterMs(silenceMs));
    if (result == 0)
        result = readAnswer(header, silenceMs, receiveProgress);
    const int outcome = result == 0 ? header.code : Broken(result);
    m_requestChannel->Watch(nullptr);
    return outcome;
}

int CASockets::Exchange(int code, std::span<const uint8_t> payload, std::vector<uint8_t>& answer, bool pack,
                        AProgress* progress, int progressFlags, int timeoutSeconds, const CancelCallback& cancel) {
    answer.clear();
    return Transact(code, payload, pack, progress, progressFlags, timeoutSeconds, cancel,
                    [&](const WireHeader& header, int stallMs, AProgress* receiveProgress) {
                        const int result = m_requestReader->ReadPayload(header, answer, stallMs, receiveProgress);
                        if (result != 0)
                            answer.clear();
                        return result;
                    });
}

int CASockets::Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                       bool compress, AProgress* progress, int progressFlags, int timeoutSeconds,
                       const CancelCallback& cancel) {
    const std::span<const uint8_t> bytes = payload ? std::span(payload, length) : std::span<const uint8_t>();
    const int result = Exchange(code, bytes, answer, compress, progress, progressFlags, timeoutSeconds, cancel);
    if (result != 0)
        answer.clear();
    return result;
}

int CASockets::RequestInto(int code, const uint8_t* payload, uint32_t length, PayloadSink& sink,
                           AProgress* progress, int progressFlags, int timeoutSeconds, const CancelCallback& cancel) {
    const std::span<const uint8_t> bytes = payload ? std::span(payload, length) : std::span<const uint8_t>();
    return Transact(code, bytes, false, progress, progressFlags, timeoutSeconds, cancel,
                    [&](const WireHeader& header, int stallMs, AProgress* receiveProgress) {
                        if (header.code == 0)
                            return m_requestReader->ReadPayload(header, sink, stallMs, receiveProgress);
                        // A failure's payload says nothing the caller asked for.
                        DiscardingSink discarded;
                        return m_requestReader->ReadPayload(header, discarded, stallMs, nullptr);
                    });
}
