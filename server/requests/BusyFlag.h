#pragma once
// Lets one request of a kind run at a time: the flag is taken atomically, so of two that come at once
// one is refused, and it is given back on every way out.

#include <atomic>

class BusyFlag {
public:
    explicit BusyFlag(std::atomic<bool>& flag) : m_flag(flag), m_taken(!flag.exchange(true)) {}
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;
    ~BusyFlag() {
        if (m_taken)
            m_flag = false;
    }

    // False when another request holds the flag.
    bool Taken() const { return m_taken; }

private:
    std::atomic<bool>& m_flag;
    bool m_taken;
};
