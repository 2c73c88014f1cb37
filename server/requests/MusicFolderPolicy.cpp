#include "server/requests/MusicFolderPolicy.h"

#include <filesystem>
#include <system_error>

namespace {

bool NamesParent(const std::string& path) {
    for (size_t start = 0; start < path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (path.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Whether `path` is `folder` itself (when allowed) or lies below it; both are resolved already.
bool LiesIn(const std::string& path, const std::string& folder, bool folderItself) {
    if (path == folder)
        return folderItself;
    const std::string prefix = folder.back() == '/' ? folder : folder + '/';
    return path.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

MusicFolderPolicy::MusicFolderPolicy(const AString& folder) : m_folder(folder.ToSystem8Bit()) {}

bool MusicFolderPolicy::IsPlainAbsolutePath(const AString& path) {
    const std::string bytes = path.ToSystem8Bit();
    return !bytes.empty() && bytes.front() == '/' && bytes.find('\0') == std::string::npos && !NamesParent(bytes);
}

std::optional<AString> MusicFolderPolicy::Resolve(const AString& requested, Access access) const {
    if (!IsPlainAbsolutePath(requested))
        return std::nullopt;
    const std::string path = requested.ToSystem8Bit();
    std::error_code error;
    // Resolved at every request: the folder may have been moved or linked elsewhere meanwhile.
    const std::filesystem::path folder = std::filesystem::canonical(m_folder, error);
    if (error)
        return std::nullopt;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (error || !LiesIn(resolved.native(), folder.native(), access == Access::Read))
        return std::nullopt;
    return AString::FromSystem8Bit(resolved.native());
}
