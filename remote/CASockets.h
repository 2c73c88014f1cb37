#pragma once
// The socket object of a program: as a client it carries one request connection at a time to the
// server program of another computer (the connection lock is held from Connect to Disconnect), it keeps
// the table of found servers, and it owns the slot table of the link's worker threads. Its virtual
// operations are the callbacks through which the link reports to its owner. Every wait of its sockets
// has a time limit and ends at once when the object stops.

#include "foundation/RemotePeer.h"
#include "platform/sockets/SocketHandle.h"
#include "platform/sockets/WakeSignal.h"
#include "remote/ConnectionSlotTable.h"
#include "remote/FoundHostTable.h"
#include "remote/WireMessage.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

class MessageReader;
class NetworkScan;
class PayloadSink;
struct WireHeader;
class RequestStream;
class SocketChannel;

class CASockets : public RemotePeer {
public:
    static constexpr uint16_t kDefaultBasePort = 10564;
    static constexpr int kConnectTimeoutMs = 30000;
    // No wait of a request lasts longer than this while the peer sends or takes nothing, whatever the
    // request's own time-out; a request without one waits this long.
    static constexpr int kLongestSilenceMs = 120000;
    static constexpr int kEndMessageStallMs = 5000;

    // This computer's address is the first IPv4 address of its network interfaces.
    CASockets();
    // With the address that this object takes for this computer's own (none: it has no address).
    explicit CASockets(std::optional<uint32_t> localIPv4,
                       size_t slotCapacity = ConnectionSlotTable::kDefaultCapacity);
    ~CASockets() override;

    // Answers a request received by the listening side. The base answers with the negated code and
    // the request's own payload. Called on the connection's thread, perhaps on several at once.
    virtual WireMessage OnRequest(int code, std::span<const uint8_t> payload);
    // A request whose payload is taken as it arrives, in place of OnRequest; null (the base) when the
    // code's payload is to be received whole.
    virtual std::unique_ptr<RequestStream> OpenRequestStream(int code);
    // The network scan has ended.
    virtual void OnScanDone() {}
    // A host was appended to the found-host table.
    virtual void OnHostsChanged() {}
    // The scan reached host number n (1 to 254).
    virtual void OnScanProgress(int) {}
    // The last scan probe has ended.
    virtual void OnProbesDone() {}

    // Takes the connection lock (waiting for it) and connects to the host: 0, -1 once stopped, or
    // -19564 when the host does not resolve or refuses; then the lock is released again. A port of 0
    // is the port recorded for the address in the found-host table, else the base port.
    int Connect(const std::string& host, uint32_t port);
    int ConnectW(const AString& host) override;
    // Sends the end-of-connection message, closes the socket and releases the connection lock. Only
    // the thread that connected may call it; on any other it does nothing.
    void Disconnect() override;
    // One request on the connection: 0 with the answer when the peer answered with code 0; otherwise
    // the answer code or a transport code, and no answer.
    int Request(int code, const uint8_t* payload, uint32_t length, std::vector<uint8_t>& answer,
                bool compress, AProgress* progress, int progressFlags, int timeoutSeconds,
                const CancelCallback& cancel) override;
    // The answer of code 0 goes to the sink as its pieces arrive.
    int RequestInto(int code, const uint8_t* payload, uint32_t length, PayloadSink& sink, AProgress* progress,
                    int progressFlags, int timeoutSeconds, const CancelCallback& cancel) override;
    // One request on the connection: the answer code (whatever it is) with its payload, or a transport
    // code without one. An empty payload goes as the u32 100564. `timeoutSeconds` (-1: the longest
    // silence) bounds each wait while the request goes out, for its answer to begin and while the
    // answer arrives. A peer that stays silent that long gives -10572, a cancel 123456; either leaves
    // the connection of no further use, and Disconnect then drops it without a word.
    int Exchange(int code, std::span<const uint8_t> payload, std::vector<uint8_t>& answer, bool pack,
                 AProgress* progress, int progressFlags, int timeoutSeconds,
                 const CancelCallback& cancel = CancelCallback());

    // A shorter longest silence than kLongestSilenceMs (tests).
    void SetLongestSilence(int milliseconds) { m_longestSilenceMs = milliseconds; }

    void SetBasePort(uint16_t port) { m_basePort = port; }
    uint16_t GetBasePort() const { return m_basePort; }
    std::optional<uint32_t> GetLocalIPv4() const;
    // Takes `address` for this computer's own from now on; listening binds it at its next start.
    void SetLocalIPv4(std::optional<uint32_t> address);
    // "%d.%d.%d.%d", or empty without an address.
    std::string GetLocalIPv4Text() const;

    // Adds a found server (FoundHostTable::Add) and tells OnHostsChanged when it was appended.
    int AddFoundHost(const FoundHost& host);
    FoundHostTable& FoundHosts() { return m_foundHosts; }
    ConnectionSlotTable& Slots() { return m_slots; }

    // Starts the scan of the local network (NetworkScan), trying the listed hosts first: 0, or -1 when
    // a scan runs already. The callbacks above report it; a class that overrides them stops the scan
    // in its own destructor.
    int StartScan(std::vector<FoundHost> firstTries = {});
    bool IsScanRunning() const;
    // The host number the scan reached (1 to 254).
    int GetScanPosition() const;
    // How the scan tells whether an address answers (an ICMP echo unless set); set it before a scan.
    void SetScanPinger(std::function<bool(uint32_t, const nativesockets::WakeSignal&)> pinger);
    // A hello to one host (a name or a dotted address) on `port` (0: as Connect chooses): 1 with the
    // record filled (the server's name, the host's address, the port), else 0.
    int QueryHost(FoundHost& record, const std::string& host, uint32_t port);

    // Sets the stop flag: new connections are refused and every wait of this object's sockets ends; a
    // running scan and its probes end, and are waited for.
    virtual void StopScan();
    bool IsStopping() const { return m_stop.load(); }

protected:
    const nativesockets::WakeSignal& Wake() const { return m_wake; }
    // Clears the stop flag (listening starts again).
    void ClearStop();

private:
    // Reads the payload of an answer whose header came, each wait bounded by `stallMs`.
    using AnswerReading = std::function<int(const WireHeader& header, int stallMs, AProgress* progress)>;

    bool HoldsConnection() const;
    void ReleaseConnection();
    uint16_t PortFor(const std::string& address, uint32_t port) const;
    int SilenceLimitMs(int timeoutSeconds) const;
    // Sends the request and reads its answer's header, then hands the payload to `readAnswer`: the
    // answer's code, or why there is none.
    int Transact(int code, std::span<const uint8_t> payload, bool pack, AProgress* progress, int progressFlags,
                 int timeoutSeconds, const CancelCallback& cancel, const AnswerReading& readAnswer);
    // The connection is of no further use after `result`: the code that says why.
    int Broken(int result);

    mutable std::mutex m_addressLock; // the address, which the scan and the connections read
    std::optional<uint32_t> m_localIPv4;
    std::atomic<uint16_t> m_basePort{kDefaultBasePort};
    std::atomic<int> m_longestSilenceMs{kLongestSilenceMs};
    std::atomic<bool> m_stop{false};
    nativesockets::WakeSignal m_wake;
    FoundHostTable m_foundHosts;
    ConnectionSlotTable m_slots;

    std::unique_ptr<NetworkScan> m_scan;

    std::mutex m_connection;
    std::atomic<std::thread::id> m_connectionOwner;
    nativesockets::SocketHandle m_requestSocket;
    std::unique_ptr<SocketChannel> m_requestChannel;
    std::unique_ptr<MessageReader> m_requestReader;
    bool m_requestBroken = false;
};
