#include "app/state/HostListStore.h"

#include "app/state/SyncSetNames.h"
#include "foundation/FileOps.h"
#include "remote/HostListFile.h"

AString HostListStore::PathOf(const AString& name) const {
    AString path = m_folder;
    path.AppendPath(SyncSetNames::SafeStem(name) + HostListFile::kExtension);
    return path;
}

std::vector<FoundHost> HostListStore::Load(const AString& name, bool deleteAfter) const {
    const AString path = PathOf(name);
    if (!FileExists(path))
        return {};
    std::vector<FoundHost> hosts = HostListFile::Read(path);
    if (hosts.size() > kMaxRecords)
        hosts.resize(kMaxRecords);
    if (deleteAfter)
        DeleteFileLong(path, false);
    return hosts;
}

int HostListStore::SaveKnown(std::span<const FoundHost> hosts) const {
    if (hosts.empty())
        return 0;
    std::vector<FoundHost> merged(hosts.begin(), hosts.end());
    for (FoundHost& old : Load(AString(kKnownHostsName), false)) {
        if (!HostListFile::Contains(merged, old))
            merged.push_back(std::move(old));
    }
    if (merged.size() > kMaxRecords)
        merged.resize(kMaxRecords);
    return HostListFile::Write(PathOf(AString(kKnownHostsName)), merged);
}
