#include "platform/itunes/LockFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace itunesapp {
namespace {

constexpr std::chrono::milliseconds kRetryPause{5};

} // namespace

bool LockFile::Acquire(std::chrono::milliseconds timeout) {
    if (Held())
        return true;
    const int descriptor = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            m_descriptor = descriptor;
            return true;
        }
        const bool retry = errno == EWOULDBLOCK || errno == EINTR;
        if (!retry || std::chrono::steady_clock::now() >= deadline) {
            close(descriptor);
            return false;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

void LockFile::Release() {
    if (!Held())
        return;
    flock(m_descriptor, LOCK_UN);
    close(m_descriptor);
    m_descriptor = -1;
}

} // namespace itunesapp
