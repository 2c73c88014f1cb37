#include "support/DiskSyncProbe.h"

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<bool> g_probing{false};
std::atomic<bool> g_failFolders{false};
std::atomic<int> g_fileFlushes{0};

// Whether the probe answers this flush itself (with a failure); counts it on the way.
bool ProbeFails(int fd) {
    if (!g_probing)
        return false;
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return false;
    if (S_ISREG(info.st_mode))
        ++g_fileFlushes;
    if (S_ISDIR(info.st_mode) && g_failFolders) {
        errno = EIO;
        return true;
    }
    return false;
}

} // namespace

// The program's own definitions take the place of the C library's for every caller in it.
extern "C" int fsync(int fd) {
    return ProbeFails(fd) ? -1 : static_cast<int>(syscall(SYS_fsync, fd));
}

extern "C" int fdatasync(int fd) {
    return ProbeFails(fd) ? -1 : static_cast<int>(syscall(SYS_fdatasync, fd));
}

DiskSyncProbe::DiskSyncProbe() {
    g_fileFlushes = 0;
    g_failFolders = false;
    g_probing = true;
}

DiskSyncProbe::~DiskSyncProbe() {
    g_probing = false;
    g_failFolders = false;
}

void DiskSyncProbe::FailFolderFlushes() {
    g_failFolders = true;
}

int DiskSyncProbe::FileFlushes() const {
    return g_fileFlushes;
}
