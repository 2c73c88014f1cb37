#include "platform/sockets/WakeSignal.h"

#include <cstdint>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace nativesockets {

WakeSignal::WakeSignal() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (m_fd < 0)
        throw std::runtime_error("eventfd failed");
}

WakeSignal::~WakeSignal() {
    close(m_fd);
}

void WakeSignal::Raise() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(m_fd, &one, sizeof one);
}

void WakeSignal::Clear() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(m_fd, &count, sizeof count);
}

bool WakeSignal::IsRaised() const {
    return WaitMs(0);
}

bool WakeSignal::WaitMs(int milliseconds) const {
    pollfd watched{m_fd, POLLIN, 0};
    return poll(&watched, 1, milliseconds) > 0;
}

} // namespace nativesockets
