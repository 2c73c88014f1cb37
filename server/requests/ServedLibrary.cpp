#include "server/requests/ServedLibrary.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesSong.h"
#include "library/itunes/MusicFolder.h"
#include "platform/paths/MusicHome.h"

#include <chrono>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr auto kConnectPause = std::chrono::milliseconds(5);
constexpr const char* kLibraryFile = "/iTunes/iTunes Music Library.xml";


bool IsUnreachable(int result) {
    return result == kErrorNotConnected || result == kErrorITunesCall || result == kErrorITunesBusy;
}

} // namespace

int ServedLibrary::WhileUnreachable(const std::function<int()>& attempt) const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_connectLimitMs);
    for (;;) {
        const int result = attempt();
        if (!IsUnreachable(result) || std::chrono::steady_clock::now() >= limit)
            return result;
        std::this_thread::sleep_for(kConnectPause);
    }
}

int ServedLibrary::Connect(ITunes& client) const {
    return WhileUnreachable([&client] { return client.Connect(); });
}

AString ServedLibrary::MusicFolder() const {
    return ReadMusicFolder();
}

ServedLibrary::Stamp ServedLibrary::LibraryStamp() {
    struct stat status {};
    const std::string file = nativepaths::MusicHome() + kLibraryFile;
    if (stat(file.c_str(), &status) != 0)
        return Stamp();
    return Stamp{static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                 static_cast<int64_t>(status.st_size), static_cast<uint64_t>(status.st_ino)};
}

bool ServedLibrary::ReadTrackFiles() const {
    m_trackFiles.clear();
    ITunes client;
    if (Connect(client) != 0 || client.LoadMasterList(false, AString(), nullptr, CancelCallback(), nullptr) != 0)
        return false;
    for (int i = 0; i < client.GetSongCount(); ++i) {
        if (const ITunesSong* song = client.GetSongAt(i))
            m_trackFiles.insert(song->GetPath().GetCString());
    }
    return true;
}

bool ServedLibrary::IsTrackFile(const AString& path) const {
    std::lock_guard lock(m_lock);
    const Stamp stamp = LibraryStamp();
    if (!m_known || !(stamp == m_stamp)) {
        m_known = ReadTrackFiles();
        m_stamp = stamp;
    }
    return m_known && m_trackFiles.count(path.GetCString()) > 0;
}

void ServedLibrary::Changed() const {
    std::lock_guard lock(m_lock);
    m_known = false;
}
