#include "platform/itunes/LockFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>

namespace itunesapp {
namespace {

constexpr std::chrono::milliseconds kRetryPause{5};

} // namespace

bool LockFile::Acquire(std::chrono::milliseconds timeout) {
    if (Held())
        return true;
    nativefiles::FileDescriptor file(open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!file.IsOpen())
        return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (flock(file.Get(), LOCK_EX | LOCK_NB) == 0) {
            m_file = std::move(file);
            return true;
        }
        const bool retry = errno == EWOULDBLOCK || errno == EINTR;
        if (!retry || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kRetryPause);
    }
}

// Closing the descriptor ends the lock.
void LockFile::Release() {
    m_file.Close();
}

} // namespace itunesapp
