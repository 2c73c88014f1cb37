#include "remote/NetworkScan.h"

#include "platform/sockets/HostAddresses.h"
#include "platform/sockets/IcmpEcho.h"
#include "platform/sockets/TcpSockets.h"
#include "remote/CASockets.h"
#include "remote/HelloMessage.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/SocketChannel.h"

#include <system_error>

using nativesockets::Deadline;

namespace {

constexpr uint32_t kHostNumberMask = 0xFF;
constexpr uint32_t kNoAddress = 0;
constexpr uint32_t kBroadcastAddress = 0xFFFFFFFF;

bool IcmpPing(uint32_t address, const nativesockets::WakeSignal& wake) {
    return nativesockets::IcmpEcho::Ping(address, nativesockets::IcmpEcho::kReplyWaitMs, &wake);
}

std::optional<uint32_t> ListedHostAddress(const FoundHost& host) {
    const auto byName = nativesockets::ResolveIPv4(host.name);
    if (byName && *byName != kNoAddress && *byName != kBroadcastAddress)
        return byName;
    return nativesockets::ResolveIPv4(host.address);
}

} // namespace

NetworkScan::NetworkScan(CASockets& owner, const nativesockets::WakeSignal& wake)
    : m_owner(owner), m_wake(wake), m_ping(IcmpPing) {}

NetworkScan::~NetworkScan() {
    Join();
}

bool NetworkScan::Stopping() const {
    return m_owner.IsStopping();
}

int NetworkScan::Start(std::vector<FoundHost> firstTries) {
    if (m_running.exchange(true))
        return -1;
    // A scan started from the end of the last one cannot wait for that one's thread.
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) {
        m_running = false;
        return -1;
    }
    if (m_thread.joinable())
        m_thread.join();
    m_position = 0;
    try {
        m_thread = std::thread([this, hosts = std::move(firstTries)] { Run(hosts); });
    } catch (const std::system_error&) {
        m_running = false;
        return -1;
    }
    return 0;
}

void NetworkScan::Join() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
    std::unique_lock lock(m_probeLock);
    m_probesEnded.wait(lock, [this] { return m_probeThreads == 0; });
}

void NetworkScan::Run(const std::vector<FoundHost>& firstTries) {
    for (const FoundHost& host : firstTries) {
        if (Stopping())
            break;
        TryListedHost(host);
    }
    for (int hostNumber = kFirstHost; hostNumber <= kLastHost && !Stopping(); ++hostNumber) {
        m_position = hostNumber;
        m_owner.OnScanProgress(hostNumber);
        ScanHost(hostNumber);
    }
    m_running = false;
    m_owner.OnScanDone();
}

void NetworkScan::TryListedHost(const FoundHost& host) {
    if (host.name.empty())
        return;
    const auto address = ListedHostAddress(host);
    if (!address || address == m_owner.GetLocalIPv4())
        return;
    if (m_ping(*address, m_wake) && !Stopping())
        StartProbe(*address, host.port);
}

void NetworkScan::ScanHost(int hostNumber) {
    const auto local = m_owner.GetLocalIPv4();
    if (!local || static_cast<uint32_t>(hostNumber) == (*local & kHostNumberMask))
        return;
    const uint32_t address = (*local & ~kHostNumberMask) | static_cast<uint32_t>(hostNumber);
    if (m_owner.FoundHosts().HasAddress(nativesockets::FormatIPv4(address)))
        return;
    if (m_ping(address, m_wake) && !Stopping())
        StartProbe(address, 0);
}

void NetworkScan::StartProbe(uint32_t address, uint16_t port) {
    {
        std::lock_guard lock(m_probeLock);
        ++m_probes;
        ++m_probeThreads;
    }
    const int slot = m_owner.Slots().Start(nativesockets::SocketHandle(),
                                           [this, address, port](const nativesockets::SocketHandle&) {
                                               ProbeHost(address, port);
                                               ProbeEnded();
                                           });
    if (slot < 0)
        ProbeEnded();
}

void NetworkScan::ProbeEnded() {
    bool last = false;
    {
        std::lock_guard lock(m_probeLock);
        last = --m_probes == 0;
    }
    if (last)
        m_owner.OnProbesDone();
    std::lock_guard lock(m_probeLock);
    --m_probeThreads;
    m_probesEnded.notify_all();
}

int NetworkScan::ProbeHost(uint32_t address, uint16_t port) {
    const uint32_t target = port != 0 ? port : m_owner.GetBasePort() + 1u;
    if (target > UINT16_MAX || Stopping())
        return 0;
    const nativesockets::SocketHandle socket = nativesockets::ConnectTcp(
        address, static_cast<uint16_t>(target), Deadline::AfterMs(kHelloTimeoutMs), &m_wake);
    if (!socket.IsOpen())
        return 0;
    SocketChannel channel(socket, &m_wake);
    MessageReader reader(channel);
    const std::vector<uint8_t> hello = HelloMessage::Request(nativesockets::GetHostName(), HelloMessage::kProbeNameLimit,
                                                             HelloMessage::kLocalDomain, m_owner.GetLocalIPv4Text());
    WireHeader header;
    std::vector<uint8_t> answer;
    int added = 0;
    if (MessageWriter::SendMessage(channel, linkcodes::kHello, hello, MessageWriter::kEmptyRequestWord, false, nullptr,
                                   kHelloTimeoutMs) == 0 &&
        reader.ReadHeader(header, Deadline::AfterMs(kHelloTimeoutMs)) == 0 &&
        reader.ReadPayload(header, answer, kHelloTimeoutMs, nullptr) == 0) {
        if (const auto name = HelloMessage::AnswerName(answer))
            added = m_owner.AddFoundHost(FoundHost{*name, nativesockets::FormatIPv4(address), 0}) >= 0 ? 1 : 0;
    }
    MessageWriter::SendFramed(channel, linkcodes::kEndOfConnection, {}, false, nullptr, CASockets::kEndMessageStallMs);
    return added;
}
