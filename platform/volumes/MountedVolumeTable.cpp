#include "platform/volumes/MountedVolumeTable.h"

#include "platform/files/NativeFiles.h"
#include "platform/volumes/MountTable.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace nativevolumes {
namespace {

constexpr const char* kExtraVolumesVariable = "ORVANTIS_EXTRA_VOLUMES";
constexpr const char* kRemovableMediaFolders[] = {"/media/", "/run/media/"};

std::string RealPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result(resolved);
    free(resolved);
    return result;
}

std::map<std::string, uint32_t> SerialsByDevice(const std::string& uuidFolder) {
    std::map<std::string, uint32_t> serials;
    std::vector<nativefiles::DirectoryEntry> entries;
    if (!nativefiles::ListDirectory(uuidFolder, entries))
        return serials;
    for (const auto& entry : entries)
        serials[RealPath(uuidFolder + "/" + entry.name)] = SerialOfFilesystemUuid(entry.name);
    return serials;
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A folder mounted over another keeps one place: the later mount is the one that shows.
void AddMountedVolumes(const std::string& mountTable, const std::string& uuidFolder,
                       std::map<std::string, Volume>& volumes) {
    const std::map<std::string, uint32_t> serials = SerialsByDevice(uuidFolder);
    for (const MountEntry& mount : ParseMountTable(ReadText(mountTable))) {
        const auto serial = serials.find(RealPath(mount.source));
        volumes[mount.mountPoint] = {mount.mountPoint, serial == serials.end() ? 0 : serial->second,
                                     MountedVolumeTable::IsRemovableMediaPlace(mount.mountPoint)};
    }
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A listed folder that is a mount point too keeps its filesystem's serial.
void AddExtraVolumes(std::map<std::string, Volume>& volumes) {
    const char* list = std::getenv(kExtraVolumesVariable);
    if (!list)
        return;
    std::stringstream folders(list);
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (folder.empty() || !IsFolder(folder))
            continue;
        const std::string mountPoint = WithoutTrailingSlash(folder);
        Volume& volume = volumes[mountPoint];
        volume.mountPoint = mountPoint;
        volume.removable = true;
    }
}

} // namespace

MountedVolumeTable::MountedVolumeTable(std::string mountTable, std::string uuidFolder)
    : m_mountTable(std::move(mountTable)), m_uuidFolder(std::move(uuidFolder)) {}

std::vector<Volume> MountedVolumeTable::List() const {
    std::map<std::string, Volume> byMountPoint;
    AddMountedVolumes(m_mountTable, m_uuidFolder, byMountPoint);
    AddExtraVolumes(byMountPoint);
    std::vector<Volume> volumes;
    for (auto& [mountPoint, volume] : byMountPoint)
        volumes.push_back(std::move(volume));
    m_driveBits.Assign(volumes);
    return volumes;
}

bool MountedVolumeTable::IsRemovableMediaPlace(const std::string& mountPoint) {
    for (const char* media : kRemovableMediaFolders) {
        if (mountPoint.starts_with(media))
            return true;
    }
    return false;
}

} // namespace nativevolumes
