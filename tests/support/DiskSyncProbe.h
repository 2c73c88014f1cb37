#pragma once
// Stands between this test program and the kernel's flush calls (fsync, fdatasync): it counts the
// flushes of files and can make the flush of a folder fail, to show that such a failure is reported.
// One probe at a time; each test runs in a process of its own.

class DiskSyncProbe {
public:
    DiskSyncProbe();
    ~DiskSyncProbe();
    DiskSyncProbe(const DiskSyncProbe&) = delete;
    DiskSyncProbe& operator=(const DiskSyncProbe&) = delete;

    // From now on every flush of a folder fails with an I/O error.
    void FailFolderFlushes();
    // Flushes of regular files since the probe was made.
    int FileFlushes() const;
};
