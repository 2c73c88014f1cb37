#include "platform/volumes/MountTableWatch.h"

#include <fcntl.h>

namespace nativevolumes {

MountTableWatch::MountTableWatch(const std::string& mountTable)
    : m_table(open(mountTable.c_str(), O_RDONLY | O_CLOEXEC)) {}

} // namespace nativevolumes
