#include "platform/itunes/FileIdentity.h"

#include <sys/stat.h>

namespace itunesapp {
namespace {

FileIdentity FromStat(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = static_cast<uint64_t>(info.st_size);
    identity.modifiedSeconds = info.st_mtim.tv_sec;
    identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return identity;
}

} // namespace

FileIdentity FileIdentity::Of(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? FromStat(info) : FileIdentity();
}

FileIdentity FileIdentity::OfDescriptor(int descriptor) {
    struct stat info {};
    return fstat(descriptor, &info) == 0 ? FromStat(info) : FileIdentity();
}

} // namespace itunesapp
