#pragma once
// One running DNS-SD operation (a browse, a registration, a resolve): the reference that its start
// call filled, and the loop that hands its results to its callback. The loop waits on the reference's
// descriptor and on a stop signal; it ends on the first failed result, on a closed descriptor, or when
// the operation stops. Stopping waits for the loop before the reference is given back.

#include "platform/dnssd/DnsSdApi.h"
#include "platform/sockets/Deadline.h"
#include "platform/sockets/WakeSignal.h"

#include <atomic>
#include <functional>
#include <thread>

namespace nativednssd {

class DnsSdLibrary;

class DnsSdOperation {
public:
    explicit DnsSdOperation(const DnsSdLibrary& library) : m_library(library) {}
    DnsSdOperation(const DnsSdOperation&) = delete;
    DnsSdOperation& operator=(const DnsSdOperation&) = delete;
    ~DnsSdOperation() { Stop(); }

    // Where a start call puts the reference; call Stop before reusing the operation.
    ServiceRef* Slot() { return &m_ref; }
    // After a start call that failed: what it left in the slot is no reference.
    void Forget() { m_ref = nullptr; }
    bool HasRef() const { return m_ref != nullptr; }

    // Hands the results to their callback on a thread of its own.
    void RunInBackground();
    // Hands the results to their callback on this thread until `done` answers true after one of them
    // (true), or the deadline passes, a result fails or the operation stops (false).
    bool RunUntil(const nativesockets::Deadline& deadline, const std::function<bool()>& done);
    // Ends the loop, waits for it and gives the reference back. Never from the operation's own callback.
    void Stop();
    // False once the background loop has ended by itself.
    bool IsRunning() const { return m_running; }

private:
    enum class Step { Result, Idle, End };
    Step ProcessNext(const nativesockets::Deadline& deadline);

    const DnsSdLibrary& m_library;
    ServiceRef m_ref = nullptr;
    nativesockets::WakeSignal m_stop;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace nativednssd
