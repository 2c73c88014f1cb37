#pragma once
// The kernel's notice that the mount table changed: an open descriptor of the mount table, which
// poll() reports with POLLPRI (and POLLERR) once after each mount or unmount, to the first poll that
// sees it. An event loop waits on it beside its other work; nothing needs to be read from it.

#include "platform/files/FileDescriptor.h"
#include "platform/volumes/MountedVolumeTable.h"

#include <string>

namespace nativevolumes {

class MountTableWatch {
public:
    explicit MountTableWatch(const std::string& mountTable = MountedVolumeTable::kSystemMountTable);

    // -1 when the table could not be opened: then only looking at intervals is left.
    int Descriptor() const { return m_table.Get(); }

private:
    nativefiles::FileDescriptor m_table;
};

} // namespace nativevolumes
