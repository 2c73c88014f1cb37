#pragma once
// A user of their own for one test: the data, settings, runtime and music folders in a fresh folder,
// no extra volumes, and the music application started afresh over that music folder. Fake iPods are
// folders that the volume table lists.

#include "support/TempDir.h"

#include <string>
#include <vector>

class AppTestHome {
public:
    AppTestHome();
    ~AppTestHome();
    AppTestHome(const AppTestHome&) = delete;
    AppTestHome& operator=(const AppTestHome&) = delete;

    const TempDir& Folder() const { return m_folder; }
    std::string DataFolder() const { return m_folder.File("XDG_DATA_HOME/Quelloran/Orvantis"); }
    std::string SyncSetsFolder() const { return DataFolder() + "/SyncSets"; }
    std::string SettingsFile() const { return m_folder.File("XDG_CONFIG_HOME/Quelloran/Orvantis.conf"); }
    std::string RuntimeFolder() const { return m_folder.File("XDG_RUNTIME_DIR"); }

    // Lists a folder as a mounted volume (or stops listing it).
    void MountVolume(const std::string& folder);
    void UnmountVolume(const std::string& folder);

private:
    void PublishVolumes() const;

    TempDir m_folder;
    std::vector<std::string> m_volumes;
};
