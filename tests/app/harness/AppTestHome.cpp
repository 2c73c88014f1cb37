#include "harness/AppTestHome.h"

#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/itunes/ITunesServices.h"
#include "platform/itunes/ITunesInstance.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* kFolders[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_MUSIC_DIR"};
constexpr const char* kExtraVolumes = "ORVANTIS_EXTRA_VOLUMES";

} // namespace

AppTestHome::AppTestHome() {
    for (const char* name : kFolders) {
        const std::string folder = m_folder.File(name);
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        setenv(name, folder.c_str(), 1);
    }
    unsetenv(kExtraVolumes);
    InstallITunesServices(ITunesDBPodDatabase::Opener());
}

AppTestHome::~AppTestHome() {
    itunesapp::ITunesInstance::Running().Quit();
    unsetenv(kExtraVolumes);
}

void AppTestHome::MountVolume(const std::string& folder) {
    m_volumes.push_back(folder);
    PublishVolumes();
}

void AppTestHome::UnmountVolume(const std::string& folder) {
    m_volumes.erase(std::remove(m_volumes.begin(), m_volumes.end(), folder), m_volumes.end());
    PublishVolumes();
}

void AppTestHome::PublishVolumes() const {
    std::string list;
    for (const std::string& volume : m_volumes)
        list += (list.empty() ? "" : ":") + volume;
    if (list.empty())
        unsetenv(kExtraVolumes);
    else
        setenv(kExtraVolumes, list.c_str(), 1);
}
