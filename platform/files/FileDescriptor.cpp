#include "platform/files/FileDescriptor.h"

#include <fcntl.h>
#include <unistd.h>

namespace nativefiles {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

FileDescriptor FileDescriptor::Duplicate() const {
    return FileDescriptor(m_fd < 0 ? -1 : fcntl(m_fd, F_DUPFD_CLOEXEC, 0));
}

bool FileDescriptor::Close() {
    if (m_fd < 0)
        return true;
    return close(Release()) == 0;
}

} // namespace nativefiles
