#pragma once
// A flag that every wait of the socket functions watches beside its socket: raising it ends those
// waits at once, on any thread, until it is cleared.

namespace nativesockets {

class WakeSignal {
public:
    WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;
    ~WakeSignal();

    void Raise();
    void Clear();
    bool IsRaised() const;
    // Waits until the signal is raised or the time has passed: whether it was raised.
    bool WaitMs(int milliseconds) const;
    // The descriptor that turns readable while the signal is raised.
    int Fd() const { return m_fd; }

private:
    int m_fd = -1;
};

} // namespace nativesockets
