#include "PodDrive.h"

#include "platform/files/NativeFiles.h"

PodDrive::PodDrive() {
    nativefiles::MakeDirectory(m_folder.File("iPod_Control"));
    nativefiles::MakeDirectory(m_folder.File("iPod_Control/iTunes"));
}

PodDrive::PodDrive(const std::vector<uint8_t>& database) : PodDrive() {
    WriteBytes(DatabaseFile(), database);
}

std::vector<std::string> PodDrive::DatabaseFolderNames() const {
    std::vector<nativefiles::DirectoryEntry> entries;
    nativefiles::ListDirectory(m_folder.File("iPod_Control/iTunes"), entries);
    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry.name);
    return names;
}
