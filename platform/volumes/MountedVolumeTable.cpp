#include "platform/volumes/MountedVolumeTable.h"

#include "platform/files/NativeFiles.h"
#include "platform/volumes/MountTable.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace nativevolumes {
namespace {

constexpr const char* kExtraVolumesVariable = "ORVANTIS_EXTRA_VOLUMES";

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

void AddMountedVolumes(const std::string& mountTable, const std::string& uuidFolder,
                       std::vector<Volume>& volumes) {
    const std::map<std::string, uint32_t> serials = SerialsByDevice(uuidFolder);
    for (const MountEntry& mount : ParseMountTable(ReadText(mountTable))) {
        const auto serial = serials.find(RealPath(mount.source));
        volumes.push_back({mount.mountPoint, serial == serials.end() ? 0 : serial->second});
    }
}

void AddExtraVolumes(std::vector<Volume>& volumes) {
    const char* list = std::getenv(kExtraVolumesVariable);
    if (!list)
        return;
    std::stringstream folders(list);
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (!folder.empty())
            volumes.push_back({WithoutTrailingSlash(folder), 0});
    }
}

} // namespace

MountedVolumeTable::MountedVolumeTable(std::string mountTable, std::string uuidFolder)
    : m_mountTable(std::move(mountTable)), m_uuidFolder(std::move(uuidFolder)) {}

std::vector<Volume> MountedVolumeTable::List() const {
    std::vector<Volume> found;
    AddMountedVolumes(m_mountTable, m_uuidFolder, found);
    AddExtraVolumes(found);
    // A folder mounted over another keeps one place: the later mount is the one that shows.
    std::map<std::string, Volume> byMountPoint;
    for (Volume& volume : found)
        byMountPoint[volume.mountPoint] = std::move(volume);
    std::vector<Volume> volumes;
    for (auto& [mountPoint, volume] : byMountPoint)
        volumes.push_back(std::move(volume));
    return volumes;
}

} // namespace nativevolumes
