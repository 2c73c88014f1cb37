#pragma once
// One HTTP GET whose every answer is untrusted: only https (or plain http to this computer's own
// loopback addresses) is fetched, redirects are followed a bounded number of times and only to such
// addresses, the body counts only with status 200, it may not grow beyond a limit (or, when its
// length is known beforehand, must have exactly that length), and a fetch that receives nothing for
// a while ends. Runs on the calling thread, which must not be the GUI thread: it waits in an event
// loop of its own until the fetch ends, is cancelled or fails.

#include <QUrl>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace nativehttp {

enum class FetchStatus {
    Done,
    RefusedAddress,   // neither https nor loopback, or no address at all
    Unreachable,      // the connection failed or broke off
    HttpError,        // an answer other than 200 (or a redirect to follow)
    TooManyRedirects,
    TooLarge,         // the body grew beyond its limit
    WrongLength,      // the body ended before its expected length
    Stalled,          // nothing arrived for too long, or the whole fetch took too long
    Cancelled,
    SinkRefused,      // the receiver of the body could not take it (a write failed)
};

struct FetchLimits {
    static constexpr int kDefaultRedirects = 5;
    static constexpr std::chrono::milliseconds kDefaultStall{15000};
    static constexpr std::chrono::milliseconds kDefaultTotal{600000};

    uint64_t maxBytes = 0;
    // When set, the body must have exactly this many bytes.
    std::optional<uint64_t> exactBytes;
    int maxRedirects = kDefaultRedirects;
    std::chrono::milliseconds stall = kDefaultStall;
    std::chrono::milliseconds total = kDefaultTotal;
};

class HttpFetch {
public:
    // Takes each piece of the body as it arrives; false stops the fetch.
    using Sink = std::function<bool(std::span<const char>)>;

    // `cancel` (may be null) is looked at while the fetch waits; `received` (may be null) counts the
    // body's bytes as they arrive.
    HttpFetch(FetchLimits limits, const std::atomic<bool>* cancel = nullptr,
              std::atomic<uint64_t>* received = nullptr);

    // https, or http to a loopback address (127.0.0.0/8, ::1, "localhost").
    static bool IsAllowedAddress(const QUrl& url);

    FetchStatus Run(const QUrl& url, const Sink& sink);
    // The status code of the last answer (0 when none came).
    int LastHttpStatus() const { return m_httpStatus; }

private:
    struct Step;
    FetchStatus FetchOnce(const QUrl& url, const Sink& sink, std::optional<QUrl>& redirect);

    FetchLimits m_limits;
    const std::atomic<bool>* m_cancel;
    std::atomic<uint64_t>* m_received;
    int m_httpStatus = 0;
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace nativehttp
