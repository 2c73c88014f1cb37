#pragma once
// The lock that both programs take on a library before they change it: an exclusive flock on a file
// beside it. A process holds it from its first unsaved change until that change is saved, so the
// other program never saves over a change it has not read.

#include "platform/files/FileDescriptor.h"

#include <chrono>
#include <string>

namespace itunesapp {

class LockFile {
public:
    explicit LockFile(std::string path) : m_path(std::move(path)) {}
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Waits at most `timeout` for the other program; false when the lock could not be had.
    bool Acquire(std::chrono::milliseconds timeout);
    void Release();
    bool Held() const { return m_file.IsOpen(); }

private:
    std::string m_path;
    nativefiles::FileDescriptor m_file;
};

} // namespace itunesapp
