#include "platform/sockets/Deadline.h"

#include <algorithm>
#include <climits>

namespace nativesockets {

Deadline Deadline::AfterMs(int milliseconds) {
    Deadline deadline;
    if (milliseconds < 0)
        return deadline;
    deadline.m_never = false;
    deadline.m_end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    return deadline;
}

Deadline Deadline::Earlier(const Deadline& a, const Deadline& b) {
    if (a.m_never)
        return b;
    if (b.m_never)
        return a;
    return a.m_end <= b.m_end ? a : b;
}

bool Deadline::HasPassed() const {
    return !m_never && std::chrono::steady_clock::now() >= m_end;
}

int Deadline::RemainingMs() const {
    if (m_never)
        return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now());
    // Rounded up, so that a wait never ends a moment before the deadline.
    return static_cast<int>(std::clamp<long long>(left.count() + 1, 0, INT_MAX));
}

} // namespace nativesockets
