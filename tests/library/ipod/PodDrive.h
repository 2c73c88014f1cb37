#pragma once
// A folder laid out as an iPod drive for one test, with its database folder and optionally a database.

#include "foundation/AString.h"
#include "support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

class PodDrive {
public:
    PodDrive();
    explicit PodDrive(const std::vector<uint8_t>& database);

    AString Root() const { return AString(m_folder.Path()); }
    std::string DatabaseFile() const { return m_folder.File("iPod_Control/iTunes/iTunesDB"); }
    std::string ShuffleFile() const { return m_folder.File("iPod_Control/iTunes/iTunesSD"); }
    std::string File(const std::string& name) const { return m_folder.File(name); }
    // The names in the database folder, sorted.
    std::vector<std::string> DatabaseFolderNames() const;

private:
    TempDir m_folder;
};
