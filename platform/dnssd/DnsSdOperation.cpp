#include "platform/dnssd/DnsSdOperation.h"

#include "platform/dnssd/DnsSdLibrary.h"

#include <cerrno>
#include <poll.h>

namespace nativednssd {

DnsSdOperation::Step DnsSdOperation::ProcessNext(const nativesockets::Deadline& deadline) {
    const int fd = m_library.refSockFD(m_ref);
    if (fd < 0)
        return Step::End;
    pollfd watched[2] = {{fd, POLLIN, 0}, {m_stop.Fd(), POLLIN, 0}};
    const int ready = poll(watched, 2, deadline.RemainingMs());
    if (ready < 0)
        return errno == EINTR ? Step::Idle : Step::End;
    if (ready == 0)
        return Step::Idle;
    if (watched[1].revents != 0 || (watched[0].revents & (POLLERR | POLLNVAL)))
        return Step::End;
    return m_library.processResult(m_ref) == kNoError ? Step::Result : Step::End;
}

void DnsSdOperation::RunInBackground() {
    if (!m_ref || !m_library.HasEventEntries() || m_thread.joinable())
        return;
    m_running = true;
    m_thread = std::thread([this] {
        while (ProcessNext(nativesockets::Deadline::Never()) != Step::End) {
        }
        m_running = false;
    });
}

bool DnsSdOperation::RunUntil(const nativesockets::Deadline& deadline, const std::function<bool()>& done) {
    if (!m_ref || !m_library.HasEventEntries())
        return false;
    for (;;) {
        const Step step = ProcessNext(deadline);
        if (step == Step::End)
            return false;
        if (step == Step::Result && done())
            return true;
        if (step == Step::Idle && deadline.RemainingMs() == 0)
            return false;
    }
}

void DnsSdOperation::Stop() {
    m_stop.Raise();
    if (m_thread.joinable())
        m_thread.join();
    if (m_ref && m_library.refDeallocate)
        m_library.refDeallocate(m_ref);
    m_ref = nullptr;
    m_running = false;
    m_stop.Clear();
}

} // namespace nativednssd
