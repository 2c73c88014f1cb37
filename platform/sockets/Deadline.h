#pragma once
// A point in time by which a wait must end, or none.

#include <chrono>

namespace nativesockets {

class Deadline {
public:
    static Deadline Never() { return Deadline(); }
    // A negative count means no limit, as the link's time-outs are given.
    static Deadline AfterMs(int milliseconds);
    // Whichever of the two comes first.
    static Deadline Earlier(const Deadline& a, const Deadline& b);

    bool IsNever() const { return m_never; }
    bool HasPassed() const;
    // Milliseconds left for poll(): -1 without a limit, 0 once passed.
    int RemainingMs() const;

private:
    Deadline() = default;
    bool m_never = true;
    std::chrono::steady_clock::time_point m_end;
};

} // namespace nativesockets
