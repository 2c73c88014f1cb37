#pragma once
// A host list file (".hosts"), the found servers that the server program hands the main program: a
// u32 count (little-endian), then that many 172-byte FoundHost records. A write replaces the whole file
// through a new file beside it, so a reader never sees a mix of an old list and a new one. A reader
// takes at most the whole records present and skips a record whose address is no dotted address.

#include "foundation/AString.h"
#include "remote/FoundHost.h"

#include <span>
#include <vector>

class HostListFile {
public:
    static constexpr char kExtension[] = ".hosts";
    static constexpr size_t kCountSize = 4;
    static constexpr size_t kMaxRecords = 1024;

    // 0, or the file error; a failed write leaves the old file as it was.
    static int Write(const AString& path, std::span<const FoundHost> hosts);
    // The hosts of the file; none when it is missing or short.
    static std::vector<FoundHost> Read(const AString& path);
    // Whether a host of the same name and port is in the list.
    static bool Contains(std::span<const FoundHost> hosts, const FoundHost& host);
};
