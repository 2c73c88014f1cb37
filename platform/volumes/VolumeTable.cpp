#include "platform/volumes/VolumeTable.h"

#include "platform/files/NativeFiles.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace nativevolumes {
namespace {

constexpr const char* kMountTable = "/proc/self/mountinfo";
constexpr const char* kUuidFolder = "/dev/disk/by-uuid";
constexpr const char* kExtraVolumesVariable = "ORVANTIS_EXTRA_VOLUMES";

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The mount table writes blanks, tabs, newlines and backslashes in paths as octal escapes.
std::string Unescape(const std::string& field) {
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        const std::string digits = field.substr(i + 1, 3);
        if (field[i] == '\\' && digits.size() == 3 &&
            digits.find_first_not_of("01234567") == std::string::npos) {
            text += static_cast<char>(std::stoi(digits, nullptr, 8));
            i += 3;
            continue;
        }
        text += field[i];
    }
    return text;
}

std::string RealPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string result(resolved);
    free(resolved);
    return result;
}

// "XXXX-XXXX" as a number; anything else has no serial number of this form.
uint32_t SerialOfUuid(const std::string& uuid) {
    if (uuid.size() != 9 || uuid[4] != '-')
        return 0;
    const std::string digits = uuid.substr(0, 4) + uuid.substr(5);
    if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return 0;
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

std::map<std::string, uint32_t> SerialsByDevice() {
    std::map<std::string, uint32_t> serials;
    std::vector<nativefiles::DirectoryEntry> entries;
    if (!nativefiles::ListDirectory(kUuidFolder, entries))
        return serials;
    for (const auto& entry : entries)
        serials[RealPath(std::string(kUuidFolder) + "/" + entry.name)] = SerialOfUuid(entry.name);
    return serials;
}

void AddMountedVolumes(std::vector<Volume>& volumes) {
    const std::map<std::string, uint32_t> serials = SerialsByDevice();
    std::ifstream table(kMountTable);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::vector<std::string> parts;
        for (std::string part; fields >> part;)
            parts.push_back(part);
        const auto separator = std::find(parts.begin(), parts.end(), "-");
        if (parts.size() < 5 || parts.end() - separator < 3)
            continue;
        const auto serial = serials.find(RealPath(Unescape(*(separator + 2))));
        volumes.push_back({Unescape(parts[4]), serial == serials.end() ? 0 : serial->second});
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

class SystemVolumeTable : public VolumeTable {
public:
    std::vector<Volume> List() const override {
        std::vector<Volume> found;
        AddMountedVolumes(found);
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
};

const SystemVolumeTable g_systemTable;
const VolumeTable* g_table = &g_systemTable;

} // namespace

bool VolumeTable::Find(const std::string& root, Volume& volume) const {
    const std::string mountPoint = WithoutTrailingSlash(root);
    if (mountPoint.empty())
        return false;
    for (const Volume& candidate : List()) {
        if (candidate.mountPoint == mountPoint) {
            volume = candidate;
            return true;
        }
    }
    return false;
}

const VolumeTable& VolumeTable::Instance() {
    return *g_table;
}

void VolumeTable::SetInstance(const VolumeTable* table) {
    g_table = table ? table : &g_systemTable;
}

} // namespace nativevolumes
