#include "remote/HostListFile.h"

#include "foundation/AFile.h"
#include "foundation/AReplacingFile.h"
#include "foundation/ByteOrder.h"

#include <algorithm>

int HostListFile::Write(const AString& path, std::span<const FoundHost> hosts) {
    std::vector<uint8_t> bytes(kCountSize + hosts.size() * FoundHost::kRecordSize);
    StoreLE32(bytes.data(), static_cast<uint32_t>(hosts.size()));
    for (size_t i = 0; i < hosts.size(); ++i)
        hosts[i].Write(std::span<uint8_t, FoundHost::kRecordSize>(
            bytes.data() + kCountSize + i * FoundHost::kRecordSize, FoundHost::kRecordSize));
    AReplacingFile file;
    if (const int result = file.Begin(path, false))
        return result;
    if (const int result = file.Write(bytes.data(), static_cast<uint32_t>(bytes.size())))
        return result;
    return file.Commit();
}

std::vector<FoundHost> HostListFile::Read(const AString& path) {
    AFile file;
    uint8_t countBytes[kCountSize];
    if (file.Open(path, AFile::kModeRead, false) != 0 || file.Read(countBytes, kCountSize) != 0)
        return {};
    const uint64_t present = file.BytesRemaining() / FoundHost::kRecordSize;
    const size_t count = static_cast<size_t>(std::min<uint64_t>({LoadLE32(countBytes), present, kMaxRecords}));
    std::vector<FoundHost> hosts;
    uint8_t record[FoundHost::kRecordSize];
    for (size_t i = 0; i < count && file.Read(record, sizeof record) == 0; ++i) {
        FoundHost host;
        if (host.Read(record))
            hosts.push_back(std::move(host));
    }
    return hosts;
}

bool HostListFile::Contains(std::span<const FoundHost> hosts, const FoundHost& host) {
    return std::any_of(hosts.begin(), hosts.end(), [&](const FoundHost& entry) {
        return entry.name == host.name && entry.port == host.port;
    });
}
