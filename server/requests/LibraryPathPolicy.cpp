#include "server/requests/LibraryPathPolicy.h"

#include "server/requests/MusicFolderPolicy.h"
#include "server/requests/ServedLibrary.h"

std::optional<AString> LibraryPathPolicy::ResolveInMusicFolder(const AString& requested, Access access) const {
    return MusicFolderPolicy(m_library->MusicFolder()).Resolve(requested, access);
}

std::optional<AString> LibraryPathPolicy::Resolve(const AString& requested, Access access) const {
    if (auto resolved = ResolveInMusicFolder(requested, access))
        return resolved;
    if (!MusicFolderPolicy::IsPlainAbsolutePath(requested) || !m_library->IsTrackFile(requested))
        return std::nullopt;
    return requested;
}
