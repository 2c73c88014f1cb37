#pragma once
// What tells one version of a file from the next: the other program replaces the library by a rename,
// which gives it a new inode, and a tool may rewrite it in place, which changes its size or time.

#include <cstdint>
#include <string>

namespace itunesapp {

struct FileIdentity {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    static FileIdentity Of(const std::string& path);
    static FileIdentity OfDescriptor(int descriptor);
    bool operator==(const FileIdentity&) const = default;
};

} // namespace itunesapp
