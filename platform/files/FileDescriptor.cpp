#include "platform/files/FileDescriptor.h"

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

bool FileDescriptor::Close() {
    if (m_fd < 0)
        return true;
    return close(Release()) == 0;
}

} // namespace nativefiles
