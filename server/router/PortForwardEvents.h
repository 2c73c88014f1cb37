#pragma once
// The notifications of the port-forward engine: an event code and a value (a progress step, or the
// result of an operation that ended: 0 on success, kFailed otherwise). The codes of each operation:
// progress, then its end.

#include <cstdint>

namespace portforward {

constexpr int kRetrieveProgress = 1; // 0, 1, 2, 3, then 3 + 7k/n after the k-th of n mappings
constexpr int kRetrieveEnded = 2;
constexpr int kSearchProgress = 17; // 0, 1, 5, 6 when a gateway was found
constexpr int kSearchEnded = 18;
constexpr int kAddProgress = 33; // 0, 1, 2
constexpr int kAddEnded = 34;
constexpr int kDeleteProgress = 49; // 0, 1
constexpr int kDeleteEnded = 50;

constexpr int64_t kSucceeded = 0;
constexpr int64_t kFailed = 0x80004005;

} // namespace portforward

// Receives the engine's notifications, on the engine's threads, in the order each operation posts
// them; the end of an operation comes after its thread has let go of its slot.
class PortForwardListener {
public:
    virtual ~PortForwardListener() = default;
    virtual void OnPortForwardEvent(int code, int64_t value) = 0;
};
