#include "platform/files/HiddenAttribute.h"

#include "platform/files/FileDescriptor.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>

namespace nativefiles {
namespace {

// What a filesystem without DOS attributes answers to their request.
bool HasNoAttributes(int error) {
    return error == ENOTTY || error == ENOTSUP || error == EOPNOTSUPP || error == EINVAL;
}

} // namespace

HiddenOutcome SetHiddenAttribute(const std::string& path, bool hidden) {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.IsOpen())
        return HiddenOutcome::CannotRead;
    uint32_t attributes = 0;
    if (ioctl(file.Get(), FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0)
        return HasNoAttributes(errno) ? HiddenOutcome::Done : HiddenOutcome::CannotRead;
    if (((attributes & ATTR_HIDDEN) != 0) == hidden)
        return HiddenOutcome::Done;
    attributes = hidden ? (attributes | ATTR_HIDDEN) : (attributes & ~uint32_t{ATTR_HIDDEN});
    return ioctl(file.Get(), FAT_IOCTL_SET_ATTRIBUTES, &attributes) == 0 ? HiddenOutcome::Done
                                                                          : HiddenOutcome::CannotChange;
}

} // namespace nativefiles
