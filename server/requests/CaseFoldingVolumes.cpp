#include "server/requests/CaseFoldingVolumes.h"

#include "foundation/FileInfo.h"
#include "foundation/RemoteFileCache.h"

#include <linux/magic.h>
#include <sys/vfs.h>

bool CaseFoldingVolumes::FolderFoldsCase(const std::string& folder) {
    const auto known = m_folders.find(folder);
    if (known != m_folders.end())
        return known->second;
    struct statfs volume {};
    const bool folds = statfs(folder.empty() ? "/" : folder.c_str(), &volume) == 0 &&
                       (volume.f_type == MSDOS_SUPER_MAGIC || volume.f_type == EXFAT_SUPER_MAGIC);
    m_folders.emplace(folder, folds);
    return folds;
}

void CaseFoldingVolumes::Mark(const AString& file, FileInfo& info) {
    const std::string path = file.ToSystem8Bit();
    if (FolderFoldsCase(path.substr(0, path.rfind('/'))))
        info.reserved |= RemoteFileCache::kCaseFoldingVolume;
}
