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

int Deadline::RemainingMs() const {
    if (m_never)
        return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_end - std::chrono::steady_clock::now());
    // Rounded up, so that a wait never ends a moment before the deadline.
    return static_cast<int>(std::clamp<long long>(left.count() + 1, 0, INT_MAX));
}

} // namespace nativesockets
