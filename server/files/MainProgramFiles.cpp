#include "server/files/MainProgramFiles.h"

#include "remote/FoundHostTable.h"
#include "remote/HostListFile.h"
#include "remote/SyncSetsFolder.h"
#include "server/router/RouterStatusFile.h"

#include <string>

std::optional<MainProgramFiles> MainProgramFiles::InSyncSetsFolder() {
    AString folder;
    if (!GetSyncSetsFolder(folder))
        return std::nullopt;
    return MainProgramFiles(folder);
}

AString MainProgramFiles::HostListPath(int64_t t) const {
    AString path = m_folder;
    path.AppendPath((std::to_string(static_cast<int32_t>(t)) + HostListFile::kExtension).c_str());
    return path;
}

bool MainProgramFiles::WriteHostList(const FoundHostTable& table, int64_t t) const {
    const std::vector<FoundHost> hosts = table.Copy();
    return !hosts.empty() && HostListFile::Write(HostListPath(t), hosts) == 0;
}

bool MainProgramFiles::WriteJoinedHost(const FoundHostTable& table, int64_t t) const {
    const std::vector<FoundHost> hosts = table.Copy();
    return !hosts.empty() && HostListFile::Write(HostListPath(t), std::span(hosts).last(1)) == 0;
}

bool MainProgramFiles::WriteRouterStatus(const RouterState& state) const {
    AString path = m_folder;
    path.AppendPath(RouterStatusFile::kFileName);
    return RouterStatusFile::Write(path.ToSystem8Bit(), state);
}
